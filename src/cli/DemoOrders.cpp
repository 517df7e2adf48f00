// The demonstration's production orders, made by the engine on the job from
// the sales order: the planner details the tables' routing with its materials
// and labour, then orders ten of the sixteen chairs (waiting for approval),
// all the tables (approved, which brings the job's totals up to date) and
// twenty chairs for the showroom's stock.
#include <kz8mrp/MRPObject.h>

#include "cli/Commands.h"
#include "host/Sql.h"
#include "host/db/Connection.h"
#include "host/db/Rows.h"
#include "host/services/SettingTools.h"

#include <iostream>

namespace kz8mrp::cli {
namespace {

using db::Value;

constexpr const char* kStockOrder = "Chairs for the showroom stock";
constexpr const char* kStockProject = "SHOWROOM";

// Orders an earlier run of the demo made go before its job is made again, so
// that every run shows the same: those on its job and those for stock.
void ClearEarlierOrders(db::Connection& c) {
  const std::string orders =
      "(SELECT TJPdNo FROM KZ8TJobProduction WHERE TJPdTPrjCode=" + sql::Text(kStockProject) +
      " OR TJPdTJbMTJobNo IN (SELECT TJobNo FROM KZ8TJob WHERE TJobRefNo=" +
      sql::Text(kDemoSalesOrder) + "))";
  c.Execute("DELETE FROM KZ8TJobProdDL WHERE TJPLTJPDNo IN " + orders);
  c.Execute("DELETE FROM KZ8TJobProdMat WHERE TMteTJPDNo IN " + orders);
  c.Execute("DELETE FROM KZ8TJobProductionM WHERE TJPMTJPdNo IN " + orders);
  c.Execute("DELETE FROM KZ8TJobProduction WHERE TJPdNo IN " + orders);
}

// The tables are sawn and coated before their final assembly; the chairs are
// assembled from the 13th. A job made again from its sales order loses this.
void PlanRouting(db::Connection& c, const std::string& job) {
  c.Execute("DELETE FROM KZ8TJobMethod WHERE TJStTJbMTJobNo=" + sql::Text(job) +
            " AND TJStTJbMLn=1");
  c.Execute(
      "UPDATE KZ8TJobMethod SET TJstPlanStartDate='2027-01-13 00:00:00', "
      "TJstPlanEndDate='2027-01-15 00:00:00' WHERE TJStTJbMTJobNo=" +
      sql::Text(job) + " AND TJStTJbMLn=2");
  struct Step {
    int step;
    const char* code;
    OleDate start, end;
  };
  const Step steps[] = {
      {1, "SAW", OleDate::FromParts(2027, 1, 5, 8), OleDate::FromParts(2027, 1, 6, 12)},
      {2, "COAT", OleDate::FromParts(2027, 1, 7, 8), OleDate::FromParts(2027, 1, 8, 17)},
      {3, "FINAL", OleDate::FromParts(2027, 1, 11, 8), OleDate::FromParts(2027, 1, 12, 17)},
  };
  for (const Step& s : steps) {
    db::InsertRow(c, "KZ8TJobMethod",
                  {{"TJStTJbMTJobNo", job},
                   {"TJStTJbMLn", 1},
                   {"TJStTSpdStep", s.step},
                   {"TJStLevel", 1},
                   {"TJStLn", 3 + s.step},
                   {"TJStTPdtCode", "TBL-OAK"},
                   {"TJStQuantity", 4},
                   {"TJStProcessStatus", 0},
                   {"TJStTSepCode", s.code},
                   {"TJstPlanStartDate", Value(s.start)},
                   {"TJstPlanEndDate", Value(s.end)}});
  }
}

// Boards and varnish per step; the screws go in wherever they are needed.
void PlanMaterialsAndLabour(db::Connection& c, const std::string& job) {
  struct Material {
    int line, ln;
    Value step;
    const char* product;
    double quantity;
  };
  const Material materials[] = {{1, 1, 1, "OAK-BOARD", 8},
                                {1, 2, Value(), "SCREW-6", 32},
                                {1, 3, 2, "VARNISH", 2},
                                {2, 1, 1, "OAK-BOARD", 16}};
  for (const Material& m : materials) {
    db::InsertRow(c, "KZ8TJobMaterial",
                  {{"TJMtTJbMTJobNo", job},
                   {"TJMtTJbMLn", m.line},
                   {"TJMtLn", m.ln},
                   {"TJMtLevel", m.step.IsNull() ? Value() : Value(1)},
                   {"TJMtTSpdStep", m.step},
                   {"TJMtTPdtCode", m.line == 1 ? "TBL-OAK" : "CHR-OAK"},
                   {"TJMtProductCode", m.product},
                   {"TJMtUseOrder", m.quantity},
                   {"TJMtUseOrder2", m.quantity},
                   {"TJMtUseOrder3", m.quantity}});
  }
  struct Labour {
    int line, ln, step;
    const char* employee;
    const char* name;
    const char* position;
    double hours;
  };
  const Labour labour[] = {{1, 1, 1, "E-017", "สมศักดิ์ ใจดี", "carpenter", 6},
                           {1, 2, 2, "E-021", "Malee", "painter", 3},
                           {2, 1, 1, "E-017", "สมศักดิ์ ใจดี", "carpenter", 8}};
  for (const Labour& l : labour) {
    db::InsertRow(c, "KZ8TJobDL",
                  {{"TJDLTJbMTJobNo", job},
                   {"TJDLTJbMLn", l.line},
                   {"TJDLLn", l.ln},
                   {"TJDLLevel", 1},
                   {"TJDLTSpdStep", l.step},
                   {"TJDLTPdtCode", l.line == 1 ? "TBL-OAK" : "CHR-OAK"},
                   {"TJDLTEmpCode", l.employee},
                   {"TJDLEmployeeName", l.name},
                   {"TJDLPositionName", l.position},
                   {"TJDLQuantity", l.hours},
                   {"TJDLCost", 80}});
  }
}

// The rows of a query, each made into a short text, joined by `separator`.
template <class Format>
std::string Joined(DataObj& data, const std::string& sql, const Format& format,
                   const char* separator = ", ") {
  std::string out;
  for (const auto& r : data.Connection().Query(sql).rows) {
    out += (out.empty() ? "" : separator) + format(r);
  }
  return out.empty() ? "none" : out;
}

}  // namespace

void ShowOrder(DataObj& data, const std::string& no) {
  const std::string of = sql::Text(no);
  const auto h = data.Connection().Query(
      "SELECT TJPdQuantity, TJPdUnitCals, TJPdProductCode, TJPdProductName, TJPdTJbMTJobNo, "
      "TJPdTJbMLn, TJPdApproveStatus, TJPdStartDate, TJPdEndDate, TJPdTPrjCode FROM "
      "KZ8TJobProduction WHERE TJPdNo=" +
      of);
  if (h.rows.empty()) return;
  const auto& r = h.rows[0];
  const std::string day_from = r[7].IsNull() ? "-" : r[7].AsDate().DateText();
  const std::string day_to = r[8].IsNull() ? "-" : r[8].AsDate().DateText();
  std::cout << "  " << no << "  " << r[0].AsText() << " " << r[1].AsText() << " " << r[2].AsText()
            << " " << r[3].AsText() << "  "
            << (r[4].AsText().empty() ? "project " + r[9].AsText() : "job line " + r[5].AsText())
            << ", " << (r[6].AsText() == "1" ? "approved" : "waiting for approval") << ", "
            << day_from << " to " << day_to << '\n';
  const auto amount = [](const auto& row) {
    return row[0].AsText() + " " + row[1].AsText() + " " + row[2].AsText();
  };
  std::cout << "    steps:     "
            << Joined(data,
                      "SELECT TJPMLn, TJPMTSepCode, TJPMAmount FROM KZ8TJobProductionM WHERE "
                      "TJPMTJPdNo=" +
                          of + " ORDER BY TJPMLn",
                      amount)
            << "\n    materials: "
            << Joined(data,
                      "SELECT TMteQuantity, TMteProductCode, CASE WHEN TMteStep IS NULL THEN "
                      "'(any step)' ELSE 'at step ' || TMteStep END FROM KZ8TJobProdMat WHERE "
                      "TMteTJPDNo=" +
                          of + " ORDER BY TMteLn",
                      amount)
            << "\n    labour:    "
            << Joined(data,
                      "SELECT TJPLQuantity, 'h', TJPLEmployeeName || ' (' || TJPLPositionName || "
                      "')' FROM KZ8TJobProdDL WHERE TJPLTJPDNo=" +
                          of + " ORDER BY TJPLLn",
                      amount)
            << '\n';
}

void LoadDemoOrders(db::Connection& connection) {
  ClearEarlierOrders(connection);
  db::WriteRow(connection, "KZ8TJobProdBook", {{"TJPkCode", "FUR"}, {"TJPkDocCode", "FUR"}});
  const host::SettingTools settings;
  settings.Put("DEFAULTPROJECTBULKORDER", kStockProject, connection);
  LoadChairMaster(connection);
}

void ShowOrdersOnJob(MRPObject& engine, DataObj& data, AppObj& app, ClientObj& client,
                     const std::string& job) {
  db::Connection& c = data.Connection();
  {
    db::Transaction tx(c);
    PlanRouting(c, job);
    PlanMaterialsAndLabour(c, job);
    tx.Commit();
  }
  std::cout << "\nProduction orders made by the engine, in the first production book (FUR)\n"
            << "as no default book is set: ten of the sixteen chairs (waiting for approval),\n"
            << "all four tables (approved, so the job's totals are brought up to date) and\n"
            << "twenty chairs for the showroom's stock. The tables' routing, boards, screws,\n"
            << "varnish and craftsmen were planned on the job first; steps keep the routing's\n"
            << "own quantity\n";
  const std::string chairs =
      engine.CreateProductionOrderFromJobLn2(job, 2, 0, data, app, client, 10);
  const std::string tables = engine.CreateProductionOrderFromJobLn(job, 1, 1, data, app, client);
  data.BeginTrans();
  const OleDate monday = OleDate::FromParts(2027, 1, 18);
  const std::string stock = engine.CreateProductionBulkOrder2TR(
      "CHR-OAK", 20, false, monday, monday.AddDays(4), 0, data, app, client, kStockOrder);
  data.CommitTrans();
  for (const std::string& no : {chairs, tables, stock}) ShowOrder(data, no);
  ShowProcessOrders(engine, data, app, client, job);
  std::cout << "\nThe job after its orders\n";
  ShowJob(data, job);
  std::cout << "  (lines count every open order; the job counts approved ones only)\n";
}

}  // namespace kz8mrp::cli
