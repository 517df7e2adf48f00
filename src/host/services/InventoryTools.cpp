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

}  // namespace

double InventoryTools::Balance(DataObj& data, std::string_view product, OleDate date,
                               std::string_view stock_kind) const {
  return SumCard(
      data,
      "TStcTPdtCode=" + P(data, 1) + " AND TStcStockKind=" + P(data, 2) + " AND TStcDate<" +
          P(data, 3),
      {db::Value(product), db::Value(stock_kind), db::Value(date.CalendarDay().AddDays(1))});
}

double InventoryTools::Balance2(DataObj& data, std::string_view product, OleDate date,
                                std::string_view stock_kind) const {
  const OleDate day = date.CalendarDay();
  return SumCard(
      data,
      "TStcTPdtCode=" + P(data, 1) + " AND TStcStockKind=" + P(data, 2) +
          " AND TStcDate>=" + P(data, 3) + " AND TStcDate<" + P(data, 4),
      {db::Value(product), db::Value(stock_kind), db::Value(day), db::Value(day.AddDays(1))});
}

double InventoryTools::Balance3(DataObj& data, std::string_view product, OleDate date,
                                std::string_view stock_kind) const {
  const OleDate day = date.CalendarDay();
  const std::string_view kind = stock_kind.empty() ? std::string_view("FG") : stock_kind;
  return SumCard(data,
                 "TStcTPdtCode=" + P(data, 1) + " AND TStcStockKind=" + P(data, 2) +
                     " AND TStcDate>=" + P(data, 3) + " AND TStcDate<" + P(data, 4) +
                     " AND TStcQuantity>0",
                 {db::Value(product), db::Value(kind), db::Value(day), db::Value(day.AddDays(1))});
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
