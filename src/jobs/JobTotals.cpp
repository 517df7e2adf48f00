// Job quantity totals: how much of each job line is already on production
// orders and how much is still to be ordered, which routing steps an order
// covers, and the same two figures for the whole job.
#include <kz8mrp/MRPObject.h>

#include "host/Sql.h"
#include "host/db/Recordset.h"
#include "host/services/DbTools.h"
#include "host/services/SettingTools.h"
#include "jobs/Reading.h"

#include <array>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

namespace kz8mrp {
namespace {

using db::Recordset;
using jobs::kUnitSuffixes;
using jobs::NumberOf;

using Quantities = std::array<double, 3>;
static_assert(std::tuple_size_v<Quantities> == std::size(kUnitSuffixes), "one sum per unit");

struct Reader {
  DataObj& data;
  const host::ConvertTools& convert;
  const host::DbTools& db;

  // Every SELECT of the totals is converted for the database kind first.
  String Converted(const String& sql) const { return db.ConvertSQL(sql, data.DatabaseKind()); }
  Recordset Open(const String& sql) const { return Recordset(data.Connection(), Converted(sql)); }
  // Queries that do not depend on one another, sent together.
  std::vector<std::unique_ptr<Recordset>> OpenTogether(const String& first,
                                                       const String& second) const {
    return Recordset::OpenTogether(data.Connection(), {Converted(first), Converted(second)});
  }
  // Adds up, over every row, the three unit columns `prefix`, `prefix`2 and
  // `prefix`3 of each (prefix, sums) pair.
  void AddUp(Recordset& rs,
             std::initializer_list<std::pair<const char*, Quantities*>> targets) const {
    for (; !rs.Eof(); rs.MoveNext()) {
      for (const auto& [prefix, sums] : targets) {
        for (std::size_t u = 0; u < std::size(kUnitSuffixes); ++u) {
          (*sums)[u] += NumberOf(convert, rs, String(prefix) + kUnitSuffixes[u]);
        }
      }
    }
  }
};

// The routing step of the job line that an order's step covers; the same
// condition serves both marks.
String CoveredStep(const Recordset& rs, const host::ConvertTools& convert) {
  return sql::Text(rs.Text("TJPMTSepCode")) +
         " AND TJStTSpdStep=" + sql::Number(NumberOf(convert, rs, "TJPMStep")) +
         " AND TJstTJbMTJobNo=" + sql::Text(rs.Text("TJPdTJbMTJobNo")) +
         " AND TJStTJbMLn=" + sql::Number(NumberOf(convert, rs, "TJPdTJbMLn")) +
         " AND TJStTPdtCode=" + sql::Text(rs.Text("TJPdProductCode"));
}

// Marks the routing steps of a job line that the line's production orders
// cover: the order that covers each, and that it is in production.
void MarkCoveredSteps(const Reader& r, Recordset& rs) {
  for (; !rs.Eof(); rs.MoveNext()) {
    const String step = CoveredStep(rs, r.convert);
    String order = "Update KZ8TJobMethod Set TJStTJPDNo=";
    order += sql::Text(rs.Text("TJPDNo"));
    order += " Where TJStTSepCode=";
    r.data.ExecuteSQL(order.append(step));
    String status =
        "Update KZ8TJobMethod Set TJstProcessStatus=1 Where TJstProcessStatus=0 AND TJStTSepCode=";
    r.data.ExecuteSQL(status.append(step));
  }
}

// The line's ordered quantity in one unit; the outstanding part is computed
// by the database from the line's own quantity to produce.
String LineTotalsUpdate(const String& unit, double ordered, const String& job,
                        const String& line_no) {
  const String sum = sql::Number(ordered);
  return "Update KZ8TJobMB Set TJbMTotalRequest" + unit + "=" + sum + ",TJbMTotalArrear" + unit +
         "=TJbMUseOrder" + unit + "-" + sum + " WHERE TJbMTJobNo=" + sql::Text(job) +
         " AND TJbMLn=" + line_no;
}

// One job line: its steps covered by orders, and its ordered and outstanding
// quantities. The outstanding part is left to the database, from the line's
// own quantity to produce, so it may fall below zero.
void AdjustJobLine(const Reader& r, bool any_product, const String& job, const Recordset& line) {
  const String line_no = sql::Number(NumberOf(r.convert, line, "TJbMLn"));
  String sum_query =
      "SELECT TJPdQuantity,TJPdQuantity2,TJPdQuantity3 FROM KZ8TJobProduction Where "
      "TJPdCancelStatus<>1 AND TJPdTJbMTJobNo= " +
      sql::Text(job) + " AND TJPdTJbMLn=" + line_no;
  String step_query =
      "SELECT TJPDNo,TJPMTSepCode,TJPMStep,TJPdTJbMTJobNo,TJPdTJbMLn,TJPdProductCode,TJPMTSepCode,"
      "TJPMStep FROM KZ8TJobProduction INNER JOIN KZ8TJobProductionM ON"
      " KZ8TJobProduction.TJPdNo = KZ8TJobProductionM.TJPMTJPdNo Where TJPdCancelStatus<>1 AND "
      "TJPdTJbMTJobNo= " +
      sql::Text(job) + " AND TJPdTJbMLn=" + line_no;
  if (!any_product) {
    const String product = sql::Text(line.Text("TJbMTPdtCode"));
    sum_query += " AND TJPdProductCode=" + product;
    step_query += " AND TJPdProductCode=" + product;
  }

  // The marks change nothing the sum reads: both queries go in one round trip.
  const auto opened = r.OpenTogether(step_query, sum_query);
  MarkCoveredSteps(r, *opened[0]);
  Quantities ordered{};
  r.AddUp(*opened[1], {{"TJPdQuantity", &ordered}});
  for (std::size_t u = 0; u < ordered.size(); ++u) {
    r.data.ExecuteSQL(LineTotalsUpdate(kUnitSuffixes[u], ordered[u], job, line_no));
  }
}

// The job header: covered = stock parts of all lines plus approved, open orders.
void AdjustJobHeader(const Reader& r, const String& job) {
  Quantities ordered{};
  Quantities covered{};
  const String lines =
      "SELECT TJbMQuantity,TJbMQuantity2,TJbMQuantity3,TJBMUseStock,TJBMUseStock2,TJBMUseStock3 "
      "FROM KZ8TJobMB Where TJbMTJobNo= " +
      sql::Text(job);
  Recordset line_rows = r.Open(lines);
  r.AddUp(line_rows, {{"TJbMQuantity", &ordered}, {"TJBMUseStock", &covered}});
  Recordset orders = r.Open(
      "SELECT TJPdQuantity,TJPdQuantity2,TJPdQuantity3 FROM KZ8VJobProduction Where "
      "TJPdCancelStatus<>1 AND TJPdApproveStatus=1 AND TJPdTJbMTJobNo= " +
      sql::Text(job));
  r.AddUp(orders, {{"TJPdQuantity", &covered}});

  const char* const request_columns[] = {"TJobTotalRequest", "TJobTotalRequest2",
                                         "TJoBTotalRequest3"};
  for (std::size_t u = 0; u < covered.size(); ++u) {
    r.data.ExecuteSQL("Update KZ8TJob Set " + String(request_columns[u]) + "=" +
                      sql::Number(covered[u]) + ",TJoBTotalArrear" + kUnitSuffixes[u] + "=" +
                      sql::Number(ordered[u] - covered[u]) + " WHERE TJobNo=" + sql::Text(job));
  }
}

}  // namespace

Integer MRPObject::AdjustJOB2TR(const String& ProductionNo, const String& JobNo, bool /*CutMode*/,
                                DataObj& DataObj, AppObj& /*AppObj*/, ClientObj& /*ClientObj*/) {
  String job = JobNo;
  if (job.empty()) {
    job = DbTools().LookupText("TJPDNo", ProductionNo, "TJPdTJbMTJobNo", "KZ8TJobProduction",
                               DataObj.Connection());
  }
  // A line's totals go to the server with the next line's reads.
  db::ChangeBatch changes(DataObj.Connection());
  const Reader reader{DataObj, ConvertTools(), DbTools()};
  // Mode 1 counts every order of a line, whatever product it makes.
  const bool any_product =
      std::nearbyint(SettingTools().GetNumber("MRPPercentOrderMode", DataObj.Connection())) == 1;
  for (Recordset line =
           reader.Open("SELECT TJbMTJobNo,TJbMLn,TJbMTPdtCode FROM KZ8TJobMB Where  TJbMTJobNo= " +
                       sql::Text(job) + " ORDER BY TJbMLn");
       !line.Eof(); line.MoveNext()) {
    AdjustJobLine(reader, any_product, job, line);
  }
  AdjustJobHeader(reader, job);
  changes.Send();
  return 1;
}

}  // namespace kz8mrp
