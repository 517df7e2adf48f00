// What every kind of work order shares: the session it is written in, its book
// and number, the product master facts it takes over, the span its steps cover,
// its header row and its approval-history record. Production orders (for a job
// line or in bulk) and process orders (for a routing line or in bulk) are all
// kept in the same four tables and built from these parts.
#pragma once

#include <kz8mrp/MRPObject.h>

#include "host/db/Recordset.h"
#include "host/services/ConvertTools.h"
#include "host/services/DbTools.h"

#include <array>
#include <map>
#include <optional>

namespace kz8mrp::orders {

using db::Recordset;
using db::Value;

// The session, the services and the stamp of one order being written.
struct OrderContext {
  DataObj& data;
  const ClientObj& client;
  const host::ConvertTools& convert;
  const host::DbTools& db;
  String order_no;
  Integer approve_status = 0;
  OleDate now;
  OleDate today;

  OrderContext(DataObj& d, const ClientObj& who, const host::ConvertTools& c,
               const host::DbTools& t)
      : data(d), client(who), convert(c), db(t), now(d.Now()), today(d.Today()) {}

  // A SELECT converted for the database kind, as every order statement is.
  Recordset Open(const String& sql, db::LockType lock = db::LockType::ReadOnly) const;
  double NumberOf(const Recordset& rs, std::string_view column) const {
    return convert.ToDouble(rs.Text(column));
  }
};

// The column as a number: a null or empty value is a type mismatch, as when a
// quantity that must be there is missing.
double StrictNumber(const Recordset& rs, std::string_view column);

// "=5" for a level or step the source row carries, " IS NULL" for one it
// leaves empty (a material or labour line may belong to no routing step).
String EqualsNumber(const Recordset& rs, std::string_view column,
                    const host::ConvertTools& convert);

// What an order takes over from the product master. A product that is not
// there gives empty texts and zero ratios, as the lookups do.
struct ProductFacts {
  bool exists = false;
  String name, pse_code, pg1_code;
  std::array<String, 3> units;
  double ratio2 = 0, ratio3 = 0;
};

// Reads each product once per order: the steps of an order usually all make
// the same product.
class ProductMaster {
 public:
  explicit ProductMaster(const OrderContext& ctx) : ctx_(ctx) {}
  const ProductFacts& Facts(const String& product_code);

 private:
  const OrderContext& ctx_;
  std::map<String, ProductFacts> read_;
};

// The earliest start and latest end the order's steps cover, seeded by the
// header's own date. A step without a date changes nothing; an unset seed is
// taken over by the first step that has one.
struct Span {
  std::optional<OleDate> start, end;
  explicit Span(const Value& seed);
  void Widen(const Value& step_start, const Value& step_end);
};

// The production book an order is numbered in and its new number.
struct OrderNumber {
  String book;
  String number;
};

// The book: the one given, else the plant's default production book; it must
// exist, else the first book by code, else "-". Then a new number of `kind`
// in that book. `job_book` is the book of the job the order is made for.
OrderNumber NumberOrder(const OrderContext& ctx, const host::SettingTools& settings,
                        const char* kind, const String& given_book, const String& job_book);

// Holds the job's header row until the caller's transaction ends, so that
// planners ordering on the same job one after another each count the orders
// the others committed. SQLite's write transaction already serializes them.
void LockJob(const OrderContext& ctx, const String& job_no);

// The header columns that differ between the kinds of order.
struct HeaderValues {
  String book;
  Integer status_order = 0;     // 0 a production order, 4 a process order
  bool names_approver = false;  // confirm and approve names and times written
  String job_no, job_code;
  Long job_line = 0;
  String project;
  Value product_code, product_name;
  String pse_code, pg1_code;
  Value dates;  // start, end and planned end, until the steps rewrite them
  double ratio2 = 0, ratio3 = 0;
  std::array<Value, 3> units;
  std::array<double, 3> quantities{};
  String description;
  std::array<String, 3> customs;
};

// The product master's name, codes, units and ratios on the header.
void TakeProduct(HeaderValues& values, const ProductFacts& product);

// The header of an order for stock: the product alone, no job, booked to the
// plant's bulk-order project, for a quantity never below 0, every date on
// `end`; the confirm and approve names and times are the creator's.
HeaderValues StockHeader(const OrderContext& ctx, const host::SettingTools& settings,
                         const String& book, const String& product_code,
                         const ProductFacts& product, double quantity, OleDate end,
                         const String& description);

// Writes the order's header row (added, or overwritten when the number is
// already there); its confirm and approve statuses are the order's.
void WriteHeader(const OrderContext& ctx, const HeaderValues& values);

// Rewrites the header's step count and dates from the steps copied.
void WriteHeaderSpan(const OrderContext& ctx, Long steps, const Span& span);

// An approved order counts on its job's totals at once; every new order goes
// into the approval history under `event`.
void ConcludeOrder(MRPObject& engine, const OrderContext& ctx, const host::SettingTools& settings,
                   AppObj& app, ClientObj& client, const char* event);

// The approval-history record of the order's creation.
void LogCreation(const OrderContext& ctx, const host::SettingTools& settings, const char* event,
                 const String& remark);

}  // namespace kz8mrp::orders
