// What opening an order costs, through the engine and against its floor (the
// same statements sent straight through the database's own client library):
// - a production order for a line of a job of 1,000 lines (5 routing steps,
//   10 materials and 3 labour lines each), with 100 and 1,000 orders already
//   on the job;
// - a process order for a routing line of the same job, with 1,000 and with
//   5,000 (one for every routing line) already made;
// - a bulk process order for one of 1,000 stock products (5 master steps, 10
//   materials and 3 labour rows each), with 100 and 1,000 already made.
// Each measured order is made in a transaction that is rolled back, so every
// run starts from the same plant.
//
// SQLite always; PostgreSQL too when KZ8MRP_BENCH_PG holds a connection string.
#include <kz8mrp/MRPObject.h>

#include "host/Sql.h"
#include "host/db/Connection.h"
#include "host/schema/Schema.h"
#include "support/EngineVsFloor.h"
#include "support/RowWriter.h"

#include <functional>
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
constexpr int kStockProducts = 1000;
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

std::string StockProduct(int n) { return "P" + std::to_string(10000 + n); }

// The stock products' masters: their routing, bill of materials and labour.
void LoadStockProducts(kz8mrp::db::Connection& c) {
  RowWriter products(c, "INSERT INTO KZ8TProduct (TPdtCode, TPdtName, TPdtUnit2Ratio) ");
  RowWriter steps(c,
                  "INSERT INTO KZ8TProductMethod (TSpdTPdtCode, TSpdStep, TSpdTSepCode, TSpdMan, "
                  "TSpdHourPerDay)");
  RowWriter materials(c,
                      "INSERT INTO KZ8TProductMat (TPMtTPdtCode, TPmtLn, TPMtTSpdStep, "
                      "TPMtProductCode, TPMtQuantity, TPMtQuantity2, TPMtQuantity3)");
  RowWriter labour(c,
                   "INSERT INTO KZ8TProductDL (TPLBTPdtCode, TPLBLn, TPLBTSpdStep, TPLBTEmpCode, "
                   "TPLBQuantity, TPLBCost)");
  for (int p = 1; p <= kStockProducts; ++p) {
    const std::string head = T(StockProduct(p)) + ",";
    products.Add(head + "'Stock item',12");
    for (int s = 1; s <= kSteps; ++s) {
      steps.Add(head + N(s) + ",'S" + std::to_string(s) + "',2,8");
    }
    for (int m = 1; m <= kMaterials; ++m) {
      materials.Add(head + N(m) + "," + N(1 + m % kSteps) + ",'M" + std::to_string(m) +
                    "',0.5,1,2");
    }
    for (int l = 1; l <= kLabour; ++l) {
      labour.Add(head + N(l) + "," + N(l) + ",'E" + std::to_string(l) + "',0.25,80");
    }
  }
}

void LoadPlant(const std::string& connection_string) {
  auto c = kz8mrp::db::Connection::Open(connection_string, kz8mrp::db::OpenMode::Create);
  kz8mrp::schema::Install(*c);
  kz8mrp::db::Transaction tx(*c);
  for (const char* table :
       {"KZ8TProduct", "KZ8TProductMethod", "KZ8TProductMat", "KZ8TProductDL", "KZ8TJobProdBook",
        "KZ8TMRPStepName", "KZ8TJob", "KZ8TJobMB", "KZ8TJobMethod", "KZ8TJobMaterial", "KZ8TJobDL",
        "KZ8TJobProduction", "KZ8TJobProductionM", "KZ8TJobProdMat", "KZ8TJobProdDL",
        "KZ8TApproveLog", "KZ8TDocNo", "KZ8TSetting"}) {
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
  LoadStockProducts(*c);
  tx.Commit();
}

// ---- The orders ------------------------------------------------------------------

// A kind of order the benchmark makes: how to make the n-th one (from 0), and
// how to recognise those already made.
struct OrderKind {
  std::function<String(kz8bench::Session&, int n)> make;
  std::string made;  // condition on KZ8TJobProduction
};

// Orders (unapproved, committed) of the kind until there are `count`.
void HaveOrders(kz8bench::Session& s, const OrderKind& kind, int count) {
  const auto rs =
      s.data.Connection().Query("SELECT COUNT(*) FROM KZ8TJobProduction WHERE " + kind.made);
  for (int made = static_cast<int>(rs.rows.at(0).at(0).AsNumber()); made < count;) {
    kz8bench::InTransaction(s, [&] {
      for (int batch = 0; batch < 100 && made < count; ++batch) {
        if (kind.make(s, made++).empty()) throw std::runtime_error("no order made");
      }
    });
  }
}

// One more order, rolled back so that the plant stays as it was.
void OneOrder(kz8bench::Session& s, const OrderKind& kind, int n) {
  s.data.BeginTrans();
  const String no = kind.make(s, n);
  s.data.RollbackTrans();
  if (no.empty()) throw std::runtime_error("no order made");
}

const OrderKind kProduction{[](kz8bench::Session& s, int n) {
                              return s.engine.CreateProductionOrderFromJobLn3TR(
                                  kJob, 1 + n % kLines, 0, s.data, s.app, s.client);
                            },
                            "TJPdStatusOrder=0"};

// Routing line n of the job: line n / 5 + 1, its (n % 5 + 1)-th step.
const OrderKind kProcess{[](kz8bench::Session& s, int n) {
                           const int line = n / kSteps % kLines;
                           return s.engine.CreateProcessOrderFromJobMethodLevel2TR(
                               kJob, line + 1, 1, line * kSteps + n % kSteps + 1, 0, s.data, s.app,
                               s.client);
                         },
                         "TJPdStatusOrder=4 AND TJPdTJbMLn>0"};

const OrderKind kBulkProcess{[](kz8bench::Session& s, int n) {
                               const OleDate monday = kToday.AddDays(14);
                               return s.engine.CreateProcessBulkOrder3TR(
                                   StockProduct(1 + n % kStockProducts), 40, false, monday,
                                   monday.AddDays(4), 0, s.data, s.app, s.client, "stock");
                             },
                             "TJPdStatusOrder=4 AND TJPdTJbMLn=0"};

std::vector<kz8bench::Work> Calls() {
  struct Size {
    const char* name;
    const OrderKind* kind;
    int before, measured;
  };
  const Size sizes[] = {
      {"production order/job line", &kProduction, 100, kMeasuredLine - 1},
      {"production order/job line", &kProduction, 1000, kMeasuredLine - 1},
      {"process order/routing line", &kProcess, 1000, 3 * kMeasuredLine},
      {"process order/routing line", &kProcess, kLines * kSteps, 3 * kMeasuredLine},
      {"process bulk order/product", &kBulkProcess, 100, kMeasuredLine},
      {"process bulk order/product", &kBulkProcess, 1000, kMeasuredLine}};
  std::vector<kz8bench::Work> work;
  for (const Size& z : sizes) {
    const OrderKind& kind = *z.kind;
    work.push_back(
        {std::string(z.name) + ", " + std::to_string(z.before) + " orders before",
         [&kind, n = z.measured](kz8bench::Session& s) { OneOrder(s, kind, n); },
         [&kind, before = z.before](kz8bench::Session& s) { HaveOrders(s, kind, before); }});
  }
  return work;
}

}  // namespace

int main(int argc, char** argv) {
  return kz8bench::Run(argc, argv, {LoadPlant, Calls(), kToday.AddHours(8)});
}
