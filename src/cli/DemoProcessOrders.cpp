// The demonstration's process orders: the coating of the job's tables as an
// order of its own, and a week of oak chairs for stock made from the chair's
// master routing, bill of materials and labour list.
#include <kz8mrp/MRPObject.h>

#include "cli/Commands.h"
#include "host/db/Rows.h"

#include <iostream>

namespace kz8mrp::cli {

// Per chair: sawn from one and a half boards, glued with eight screws, coated
// with an eighth of a litre of varnish; half an hour of the carpenter's time and
// a quarter of the painter's.
void LoadChairMaster(db::Connection& c) {
  const std::pair<int, const char*> steps[] = {{1, "SAW"}, {2, "GLUE"}, {3, "COAT"}};
  for (const auto& [step, name] : steps) {
    db::WriteRow(c, "KZ8TProductMethod",
                 {{"TSpdTPdtCode", "CHR-OAK"}, {"TSpdStep", step}, {"TSpdTSepCode", name}});
  }
  struct Material {
    int ln, step;
    const char* product;
    double quantity;
  };
  const Material materials[] = {
      {1, 1, "OAK-BOARD", 1.5}, {2, 2, "SCREW-6", 8}, {3, 3, "VARNISH", 0.125}};
  for (const Material& m : materials) {
    db::WriteRow(c, "KZ8TProductMat",
                 {{"TPMtTPdtCode", "CHR-OAK"},
                  {"TPmtLn", m.ln},
                  {"TPMtTSpdStep", m.step},
                  {"TPMtTPdtCode", "CHR-OAK"},
                  {"TPMtProductCode", m.product},
                  {"TPMtQuantity", m.quantity},
                  {"TPMtQuantity2", m.quantity},
                  {"TPMtQuantity3", m.quantity}});
  }
  struct Labour {
    int ln, step;
    const char* employee;
    const char* name;
    const char* position;
    double hours;
  };
  const Labour labour[] = {{1, 1, "E-017", "สมศักดิ์ ใจดี", "carpenter", 0.5},
                           {2, 3, "E-021", "Malee", "painter", 0.25}};
  for (const Labour& l : labour) {
    db::WriteRow(c, "KZ8TProductDL",
                 {{"TPLBTPdtCode", "CHR-OAK"},
                  {"TPLBLn", l.ln},
                  {"TPLBTSpdStep", l.step},
                  {"TPLBTEmpCode", l.employee},
                  {"TPLBEmployeeName", l.name},
                  {"TPLBPositionName", l.position},
                  {"TPLBQuantity", l.hours},
                  {"TPLBCost", 80}});
  }
}

void ShowProcessOrders(MRPObject& engine, DataObj& data, AppObj& app, ClientObj& client,
                       const std::string& job) {
  std::cout << "\nProcess orders: the coating of the four tables (level 1, routing line 5 of\n"
            << "the job's line 1), with the tables' boards, varnish and craftsmen, and twelve\n"
            << "chairs for stock over the week of 25 January, their steps, materials and\n"
            << "labour taken from the chair's master and multiplied by twelve\n";
  const std::string coating =
      engine.CreateProcessOrderFromJobMethodLevel(job, 1, 1, 5, 0, data, app, client);
  data.BeginTrans();
  const OleDate monday = OleDate::FromParts(2027, 1, 25);
  const std::string week =
      engine.CreateProcessBulkOrder3TR("CHR-OAK", 12, false, monday, monday.AddDays(4), 0, data,
                                       app, client, "Chairs for the showroom, one week");
  data.CommitTrans();
  for (const std::string& no : {coating, week}) ShowOrder(data, no);
}

}  // namespace kz8mrp::cli
