// What a product's day rows depend on over a range, each read once for the
// whole range: stored fixed balances, stock movements and job requirements.
#include <kz8mrp/Session.h>

#include "host/db/Connection.h"
#include "host/db/Pool.h"
#include "host/services/ConvertTools.h"
#include "host/services/InventoryTools.h"
#include "mrp/DayPlan.h"

#include <cmath>
#include <cstddef>

namespace kz8mrp::mrp {
namespace {

using db::Value;

// The place of a stored day in the range; nullopt for a day outside it or a
// moment that is not a day's midnight.
std::optional<std::size_t> DayIndex(const std::vector<OleDate>& days, const Value& stored) {
  if (stored.IsNull()) return std::nullopt;
  const OleDate at = stored.AsDate();
  const double offset = at.DaysSince(days.front());
  const double whole = std::floor(offset);
  if (whole < 0 || whole >= static_cast<double>(days.size())) return std::nullopt;
  const auto k = static_cast<std::size_t>(whole);
  if (days[k].CalendarDay() != at.CalendarDay()) return std::nullopt;
  return k;
}

bool AtMidnight(const Value& stored) {
  return !stored.IsNull() && stored.AsDate() == stored.AsDate().CalendarDay();
}

double NumberOf(const host::ConvertTools& convert, const Value& v) {
  return convert.ToDouble(v.AsText());
}

struct Reader {
  DataObj& data;
  const host::ConvertTools& convert;
  const std::string& product;
  const std::vector<OleDate>& days;

  db::Connection& connection() const { return data.Connection(); }
  std::string P(int i) const { return connection().backend().Placeholder(i); }
  Value First() const { return Value(days.front()); }
  Value Last() const { return Value(days.back()); }
  void StoredFixedBalances(RangeInputs& in) const {
    const db::ResultSet rs = connection().Query(
        "SELECT TMRPDate,TMRPBalanceFlag,TMRPBalanceFG FROM KZ8TMRP WHERE TMRPTPdtCode=" + P(1) +
            " AND TMRPDate>=" + P(2) + " AND TMRPDate<=" + P(3),
        {Value(product), First(), Last()});
    for (const auto& row : rs.rows) {
      const auto k = DayIndex(days, row[0]);
      if (k && convert.ToInteger(row[1].AsText()) == 1) {
        in.fixed_opening[*k] = NumberOf(convert, row[2]);
      }
    }
  }

  // The latest earlier day's closing balance, read as text like any stored figure.
  double CarriedIn() const {
    const db::ResultSet rs =
        connection().Query("SELECT TMRPFGEnd FROM KZ8TMRP WHERE TMRPTPdtCode=" + P(1) +
                               " AND TMRPDate<" + P(2) + " ORDER BY TMRPDate DESC LIMIT 1",
                           {Value(product), First()});
    return rs.rows.empty() ? 0 : NumberOf(convert, rs.rows.front().front());
  }

  KindMovements* Running(RangeInputs& in, const std::string& kind) const {
    if (kind == "RM") return &in.rm;
    if (kind == "WIP") return &in.wip;
    if (kind == "RM-OUT") return &in.rm_out;
    return nullptr;
  }

  // Stock on hand at the end of the first day, per running kind.
  void OpeningStock(RangeInputs& in) const {
    std::vector<Value> params{Value(product)};
    const std::string before = host::StockBeforeDayAfter(connection(), days.front(), params);
    const db::ResultSet rs = connection().Query(
        "SELECT TStcStockKind,SUM(TStcQuantity) AS Total FROM KZ8TStockCard WHERE TStcTPdtCode=" +
            P(1) + " AND TStcStockKind IN ('RM','WIP','RM-OUT')" + before +
            " GROUP BY TStcStockKind",
        params);
    for (const auto& row : rs.rows) {
      if (KindMovements* m = Running(in, row[0].AsText())) m->opening = NumberOf(convert, row[1]);
    }
  }

  // Movements of every day of the range, grouped by moment and kind; the
  // first day's running kinds are already in the opening stock.
  void DayMovements(RangeInputs& in) const {
    std::vector<Value> params{Value(product), First()};
    const std::string before = host::StockBeforeDayAfter(connection(), days.back(), params);
    const db::ResultSet rs = connection().Query(
        "SELECT TStcDate,TStcStockKind,SUM(TStcQuantity) AS Total,"
        "SUM(CASE WHEN TStcQuantity>0 THEN TStcQuantity ELSE 0 END) AS Received "
        "FROM KZ8TStockCard WHERE TStcTPdtCode=" +
            P(1) + " AND TStcStockKind IN ('RM','WIP','RM-OUT','FG') AND TStcDate>=" + P(2) +
            before + " GROUP BY TStcDate,TStcStockKind ORDER BY TStcDate",
        params);
    for (const auto& row : rs.rows) {
      const auto k = DayIndex(days, row[0]);
      if (!k) continue;
      const std::string kind = row[1].AsText();
      if (kind == "FG") {
        in.received[*k] += NumberOf(convert, row[3]);
      } else if (KindMovements* m = Running(in, kind); m) {
        m->per_day[*k] += NumberOf(convert, row[2]);
      }
    }
  }

  // Approved, open jobs' material for the product, per requested day.
  void Requirements(RangeInputs& in) const {
    db::PooledConnection own(data.ConnectionString());
    const std::string p1 = own->backend().Placeholder(1);
    const std::string p2 = own->backend().Placeholder(2);
    const std::string p3 = own->backend().Placeholder(3);
    const db::ResultSet rs = own->Query(
        "SELECT TJbMSourceDate,SUM(TJMtQuantity) AS Total FROM KZ8VJobMaterial WHERE "
        "TJMtProductCode=" +
            p1 + " AND TJbMSourceDate>=" + p2 + " AND TJbMSourceDate<=" + p3 +
            " AND TJobApproveStatus=1 AND TJobCancelStatus=0 GROUP BY TJbMSourceDate",
        {Value(product), First(), Last()});
    for (const auto& row : rs.rows) {
      // A job line asked for at a time of day is the requirement of no day.
      const auto k = AtMidnight(row[0]) ? DayIndex(days, row[0]) : std::nullopt;
      if (k) in.requirement[*k] = NumberOf(convert, row[1]);
    }
  }
};

}  // namespace

std::vector<OleDate> DaysOfRange(OleDate from, OleDate to) {
  std::vector<OleDate> days;
  for (OleDate d = from; !(d > to); d = d.AddDays(1)) {
    days.push_back(d.CalendarDay());
    if (d.OnLastDay()) break;
  }
  return days;
}

RangeInputs ReadRangeInputs(DataObj& data, const host::ConvertTools& convert,
                            const std::string& product, const std::vector<OleDate>& days,
                            bool opening_from_caller) {
  const std::size_t n = days.size();
  RangeInputs in;
  in.fixed_opening.assign(n, std::nullopt);
  for (KindMovements* m : {&in.rm, &in.wip, &in.rm_out}) m->per_day.assign(n, 0);
  in.received.assign(n, 0);
  in.requirement.assign(n, 0);

  const Reader r{data, convert, product, days};
  if (!opening_from_caller) {
    r.StoredFixedBalances(in);
    if (!in.fixed_opening.front()) in.carried_in = r.CarriedIn();
  }
  r.OpeningStock(in);
  r.DayMovements(in);
  r.Requirements(in);
  return in;
}

}  // namespace kz8mrp::mrp
