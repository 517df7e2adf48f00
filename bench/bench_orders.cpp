// What opening an order costs: a production order for a line of a job of
// 1,000 lines (5 routing steps, 10 materials and 3 labour lines each), made
// with 100 and with 1,000 orders already on the job, through the engine and
// against its floor, the same statements sent straight through the database's
// own client library. Each measured order is made in a transaction that is
// rolled back, so every run starts from the same plant.
//
// SQLite always; PostgreSQL too when KZ8MRP_BENCH_PG holds a connection string.
#include <kz8mrp/MRPObject.h>

#include "host/Sql.h"
#include "host/db/Connection.h"
#include "host/schema/Schema.h"
#include "support/EngineVsFloor.h"
#include "support/RowWriter.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using kz8bench::RowWriter;
using kz8mrp::OleDate;
using kz8mrp::String;
namespace sql = kz8mrp::sql;

constexpr const char* kJob = "JB-ORDERS";
constexpr int kLines = 1000;
constexpr int kSteps = 5, kMaterials = 10, kLabour = 3;
constexpr int kMeasuredLine = 777;
const OleDate kToday = OleDate::FromParts(2027, 1, 4);

// ---- The plant ------------------------------------------------------------------

std::string N(double n) { return sql::Number(n); }
std::string T(const std::string& s) { return sql::Text(s); }
std::string Day(int day) { return T(kToday.AddDays(day).ToString()); }

void LoadJob(kz8mrp::db::Connection& c) {
  c.Execute("INSERT INTO KZ8TJob (TJobNo, TJobCode, TJobTPrjCode) VALUES (" + T(kJob) +
            ", 'ORD', 'PRJ')");
  RowWriter lines(c,
                  "INSERT INTO KZ8TJobMB (TJbMTJobNo, TJbMLn, TJbMTPdtCode, TJbMProductName, "
                  "TJbMUseOrder, TJbMUseOrder2, TJbMUseOrder3, TJbMTUntCode, TJbMDescription)");
  RowWriter steps(c,
                  "INSERT INTO KZ8TJobMethod (TJStTJbMTJobNo, TJStTJbMLn, TJStTSpdStep, TJStLevel, "
                  "TJStLn, TJStTSepCode, TJStTPdtCode, TJStQuantity, TJstPlanStartDate, "
                  "TJstPlanEndDate, TJStProcessStatus)");
  RowWriter materials(c,
                      "INSERT INTO KZ8TJobMaterial (TJMtTJbMTJobNo, TJMtTJbMLn, TJMtLn, TJMtLevel, "
                      "TJMtTSpdStep, TJMtTPdtCode, TJMtProductCode, TJMtUseOrder, TJMtUseOrder2, "
                      "TJMtUseOrder3)");
  RowWriter labour(c,
                   "INSERT INTO KZ8TJobDL (TJDLTJbMTJobNo, TJDLTJbMLn, TJDLLn, TJDLLevel, "
                   "TJDLTSpdStep, TJDLTPdtCode, TJDLTEmpCode, TJDLQuantity, TJDLCost)");
  const std::string job = T(kJob);
  for (int ln = 1; ln <= kLines; ++ln) {
    const std::string head = job + "," + N(ln) + ",";
    lines.Add(head + "'TBL','Table',10,20,30,'PCS','line " + std::to_string(ln) + "'");
    for (int s = 1; s <= kSteps; ++s) {
      steps.Add(head + N(s) + ",1," + N((ln - 1) * kSteps + s) + ",'S" + std::to_string(s) +
                "','TBL',10," + Day(s) + "," + Day(s + 1) + ",0");
    }
    for (int m = 1; m <= kMaterials; ++m) {
      materials.Add(head + N(m) + ",1," + N(1 + m % kSteps) + ",'TBL','M" + std::to_string(m) +
                    "',2,4,6");
    }
    for (int l = 1; l <= kLabour; ++l) {
      labour.Add(head + N(l) + ",1," + N(l) + ",'TBL','E" + std::to_string(l) + "',1.5,80");
    }
  }
}

void LoadPlant(const std::string& connection_string) {
  auto c = kz8mrp::db::Connection::Open(connection_string, kz8mrp::db::OpenMode::Create);
  kz8mrp::schema::Install(*c);
  kz8mrp::db::Transaction tx(*c);
  for (const char* table :
       {"KZ8TProduct", "KZ8TJobProdBook", "KZ8TMRPStepName", "KZ8TJob", "KZ8TJobMB",
        "KZ8TJobMethod", "KZ8TJobMaterial", "KZ8TJobDL", "KZ8TJobProduction", "KZ8TJobProductionM",
        "KZ8TJobProdMat", "KZ8TJobProdDL", "KZ8TApproveLog", "KZ8TDocNo", "KZ8TSetting"}) {
    c->Execute(std::string("DELETE FROM ") + table);
  }
  c->Execute(
      "INSERT INTO KZ8TProduct (TPdtCode, TPdtName, TPdtUnit2Ratio, TPdtUnit3Ratio) VALUES "
      "('TBL', 'Table', 12, 144)");
  c->Execute("INSERT INTO KZ8TJobProdBook (TJPkCode, TJPkDocCode) VALUES ('B1', 'B1')");
  for (int s = 1; s <= kSteps; ++s) {
    c->Execute("INSERT INTO KZ8TMRPStepName (TSepCode, TSepTAPNCode) VALUES ('S" +
               std::to_string(s) + "', 'AP')");
  }
  LoadJob(*c);
  tx.Commit();
}

// ---- The orders ------------------------------------------------------------------

// Orders (unapproved, committed) on the job's first lines until it has `count`.
void HaveOrders(kz8bench::Session& s, int count) {
  const auto rs = s.data.Connection().Query("SELECT COUNT(*) FROM KZ8TJobProduction");
  for (int made = static_cast<int>(rs.rows.at(0).at(0).AsNumber()); made < count;) {
    kz8bench::InTransaction(s, [&] {
      for (int batch = 0; batch < 100 && made < count; ++batch) {
        if (s.engine
                .CreateProductionOrderFromJobLn3TR(kJob, 1 + made++ % kLines, 0, s.data, s.app,
                                                   s.client)
                .empty()) {
          throw std::runtime_error("no order made");
        }
      }
    });
  }
}

// One more order, rolled back so that the plant stays as it was.
void OneOrder(kz8bench::Session& s) {
  s.data.BeginTrans();
  const String no =
      s.engine.CreateProductionOrderFromJobLn3TR(kJob, kMeasuredLine, 0, s.data, s.app, s.client);
  s.data.RollbackTrans();
  if (no.empty()) throw std::runtime_error("no order made");
}

std::vector<kz8bench::Work> Calls() {
  std::vector<kz8bench::Work> work;
  for (const int before : {100, 1000}) {
    work.push_back({"production order/job line, " + std::to_string(before) + " orders before",
                    OneOrder, [before](kz8bench::Session& s) { HaveOrders(s, before); }});
  }
  return work;
}

}  // namespace

int main(int argc, char** argv) {
  return kz8bench::Run(argc, argv, {LoadPlant, Calls(), kToday.AddHours(8)});
}
