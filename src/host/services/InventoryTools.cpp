#include "host/services/InventoryTools.h"

#include <kz8mrp/Session.h>

#include "host/db/Connection.h"

namespace kz8mrp::host {
namespace {

double SumCard(DataObj& data, const std::string& condition, const std::vector<db::Value>& params) {
  db::Connection& connection = data.Connection();
  const auto rs = connection.Query(
      "SELECT SUM(TStcQuantity) AS Total FROM KZ8TStockCard WHERE " + condition, params);
  return rs.rows.empty() || rs.rows.front().front().IsNull() ? 0
                                                             : rs.rows.front().front().AsNumber();
}

std::string P(DataObj& data, int i) { return data.Connection().backend().Placeholder(i); }

// Movements of a kind up to the end of the day, from its start too when `on_day_only`.
double SumUpTo(DataObj& data, std::string_view product, std::string_view kind, OleDate date,
               bool on_day_only, const char* extra = "") {
  const OleDate day = date.CalendarDay();
  std::vector<db::Value> params{db::Value(product), db::Value(kind)};
  std::string condition = "TStcTPdtCode=" + P(data, 1) + " AND TStcStockKind=" + P(data, 2);
  if (on_day_only) {
    params.emplace_back(day);
    condition += " AND TStcDate>=" + P(data, 3);
  }
  condition += StockBeforeDayAfter(data.Connection(), day, params) + extra;
  return SumCard(data, condition, params);
}

}  // namespace

std::string StockBeforeDayAfter(db::Connection& connection, OleDate day,
                                std::vector<db::Value>& params) {
  if (day.OnLastDay()) return "";
  params.emplace_back(day.AddDays(1));
  return " AND TStcDate<" + connection.backend().Placeholder(static_cast<int>(params.size()));
}

double InventoryTools::Balance(DataObj& data, std::string_view product, OleDate date,
                               std::string_view stock_kind) const {
  return SumUpTo(data, product, stock_kind, date, false);
}

double InventoryTools::Balance2(DataObj& data, std::string_view product, OleDate date,
                                std::string_view stock_kind) const {
  return SumUpTo(data, product, stock_kind, date, true);
}

double InventoryTools::Balance3(DataObj& data, std::string_view product, OleDate date,
                                std::string_view stock_kind) const {
  const std::string_view kind = stock_kind.empty() ? std::string_view("FG") : stock_kind;
  return SumUpTo(data, product, kind, date, true, " AND TStcQuantity>0");
}

void InventoryTools::Post(std::string_view document_no, bool /*repost*/, DataObj& data,
                          AppObj& /*app*/, ClientObj& /*client*/) const {
  db::Connection& connection = data.Connection();
  const std::string p1 = P(data, 1);
  connection.Execute("DELETE FROM KZ8TStockCard WHERE TStcTInvNo=" + p1, {db::Value(document_no)});
  connection.Execute(
      "INSERT INTO KZ8TStockCard (TStcTInvNo,TStcLn,TStcTPdtCode,TStcDate,TStcStockKind,"
      "TStcQuantity) SELECT TIvbTInvNo,TIvbLn,TIvbTPdtCode,TInvDate,TIvbStockKind,TIvbQuantity "
      "FROM KZ8TInventory INNER JOIN KZ8TInventoryMB ON KZ8TInventory.TInvNo = "
      "KZ8TInventoryMB.TIvbTInvNo WHERE TInvNo=" +
          p1 + " AND TinvApproveStatus=1 AND COALESCE(TinvCancelStatus,0)=0",
      {db::Value(document_no)});
}

}  // namespace kz8mrp::host
