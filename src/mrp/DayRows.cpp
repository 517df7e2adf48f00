// The daily finished-goods plan of a product over a range: balances carried in
// memory from day to day, and the day rows written a block at a time.
#include <kz8mrp/MRPObject.h>

#include "host/db/Connection.h"
#include "mrp/DayPlan.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace kz8mrp {
namespace mrp {
namespace {

using db::Value;

// Columns of a day row with figures, after product and day.
constexpr std::array kFigureColumns = {
    "TMRPBalanceFlag", "TMRPBalanceFG", "TMRPFGBegin", "TMRPFGReceive", "TMRPMR",
    "TMRPFGEnd",       "TMRPRM",        "TMRPWIP",     "TMRPWIPFG",     "TMRPTotal"};

std::array<Value, kFigureColumns.size()> FigureValues(const DayFigures& f) {
  return {f.balance_flag, f.opening, f.opening, f.received, f.requirement,
          f.closing,      f.rm,      f.wip,     f.wip_fg,   f.total};
}

// Rows per statement: far below both databases' limit on bound values.
constexpr std::size_t kRowsPerStatement = 1000;

// INSERT of a block of day rows that updates the rows already there. Each
// value is bound once and in order, so SQLite takes plain "?": it looks every
// numbered one up among all the statement's names, a cost that grows with the
// square of the rows.
std::string UpsertText(db::Connection& connection, std::size_t rows, bool with_figures) {
  const auto placeholder = [&connection](int i) {
    return connection.kind() == db::Kind::SQLite ? std::string("?")
                                                 : connection.backend().Placeholder(i);
  };
  std::string columns = "TMRPTPdtCode,TMRPDate,TMRPFlag3,TMRPFlag1";
  std::string updates = "TMRPFlag1=excluded.TMRPFlag1,TMRPFlag3=excluded.TMRPFlag3";
  const std::size_t per_row = 3 + (with_figures ? kFigureColumns.size() : 0);
  if (with_figures) {
    for (const char* c : kFigureColumns) {
      columns += std::string(",") + c;
      updates += std::string(",") + c + "=excluded." + c;
    }
  }
  std::string sql = "INSERT INTO KZ8TMRP (" + columns + ") VALUES ";
  int next = 1;
  for (std::size_t r = 0; r < rows; ++r) {
    for (std::size_t c = 0; c < per_row; ++c) {
      sql += (c > 0 ? "," : r == 0 ? "(" : ",(") + placeholder(next++);
      if (c == 2) sql += ",1";
    }
    sql += ")";
  }
  return sql + " ON CONFLICT (TMRPTPdtCode,TMRPDate) DO UPDATE SET " + updates;
}

}  // namespace

std::vector<DayFigures> PlanDays(const RangeInputs& in, std::optional<double> caller_opening) {
  const std::size_t n = in.received.size();
  std::vector<DayFigures> out(n);
  double rm = in.rm.opening;
  double wip = in.wip.opening;
  double wip_fg = in.rm_out.opening;
  double carried = in.carried_in;
  for (std::size_t k = 0; k < n; ++k) {
    if (k > 0) {
      rm += in.rm.per_day[k];
      wip += in.wip.per_day[k];
      wip_fg += in.rm_out.per_day[k];
    }
    DayFigures& f = out[k];
    // The caller's balance, else the planner's fixed one, else yesterday's closing.
    const std::optional<double> fixed = caller_opening ? caller_opening : in.fixed_opening[k];
    f.balance_flag = fixed ? 1 : 0;
    f.opening = fixed.value_or(carried);
    f.received = in.received[k];
    f.requirement = in.requirement[k];
    f.closing = f.opening + f.received - f.requirement;
    f.rm = rm;
    f.wip = wip;
    f.wip_fg = wip_fg;
    f.total = rm + wip + f.closing;
    carried = f.closing;
  }
  return out;
}

void WriteDayRows(DataObj& data, const std::string& product, const std::vector<OleDate>& days,
                  const std::vector<DayFigures>& figures) {
  db::Connection& connection = data.Connection();
  const bool with_figures = !figures.empty();
  const Value now(data.Now());
  for (std::size_t first = 0; first < days.size(); first += kRowsPerStatement) {
    const std::size_t rows = std::min(kRowsPerStatement, days.size() - first);
    std::vector<Value> params;
    params.reserve(rows * (3 + kFigureColumns.size()));
    for (std::size_t k = first; k < first + rows; ++k) {
      params.insert(params.end(), {Value(product), Value(days[k]), now});
      if (!with_figures) continue;
      for (Value& v : FigureValues(figures[k])) params.push_back(std::move(v));
    }
    connection.Execute(UpsertText(connection, rows, with_figures), params);
  }
}

}  // namespace mrp

Integer MRPObject::GenerateMRP4(DataObj& DataObj, const String& ProductCode, OleDate FromDate,
                                OleDate ToDate, ByRef<Integer> BalanceMode, double BalanceFG,
                                bool BuiltDateOnly) {
  const std::vector<OleDate> days = mrp::DaysOfRange(FromDate, ToDate);
  if (days.empty()) return 1;
  std::vector<mrp::DayFigures> figures;
  if (!BuiltDateOnly) {
    const bool from_caller = BalanceMode.get() == 1;
    const mrp::RangeInputs in =
        mrp::ReadRangeInputs(DataObj, ConvertTools(), ProductCode, days, from_caller);
    figures = mrp::PlanDays(in, from_caller ? std::optional(BalanceFG) : std::nullopt);
  }
  mrp::WriteDayRows(DataObj, ProductCode, days, figures);
  return 1;
}

}  // namespace kz8mrp
