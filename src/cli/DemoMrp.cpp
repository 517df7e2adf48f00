// The demonstration's material requirements: boards and screws received into
// stock, a job that needs them, and the plant's products planned for two weeks.
#include <kz8mrp/Session.h>

#include "cli/Commands.h"
#include "cli/MrpRun.h"
#include "common/Text.h"
#include "host/db/Connection.h"
#include "host/db/Rows.h"
#include "host/services/InventoryTools.h"

#include <iostream>

namespace kz8mrp::cli {
namespace {

constexpr const char* kMrpJob = "JOB-DEMO-MRP";

// Materials bought in, each received by an approved stock document.
void LoadStock(DataObj& data) {
  db::Connection& c = data.Connection();
  struct Receipt {
    const char* no;
    const char* day;
    const char* product;
    double quantity;
  };
  const Receipt receipts[] = {{"GR-2701-01", "2027-01-04 09:00:00", "OAK-BOARD", 10},
                              {"GR-2701-02", "2027-01-04 09:00:00", "SCREW-6", 100},
                              {"GR-2701-03", "2027-01-11 14:00:00", "OAK-BOARD", 6}};
  for (const Receipt& r : receipts) {
    db::WriteRow(c, "KZ8TProduct", {{"TPdtCode", r.product}, {"TPdtTUntCode", "PCS"}});
    db::WriteRow(
        c, "KZ8TInventory",
        {{"TInvNo", r.no}, {"TInvDate", r.day}, {"TinvApproveStatus", 1}, {"TinvCancelStatus", 0}});
    db::WriteRow(c, "KZ8TInventoryMB",
                 {{"TIvbTInvNo", r.no},
                  {"TIvbLn", 1},
                  {"TIvbTPdtCode", r.product},
                  {"TIvbStockKind", "FG"},
                  {"TIvbQuantity", r.quantity}});
    host::InventoryTools().Post(r.no, false, data, data.App(), data.Client());
  }
}

// An approved job for shelves: boards and screws on the 8th, boards on the 12th.
void LoadJob(db::Connection& c) {
  db::WriteRow(c, "KZ8TJob",
               {{"TJobNo", kMrpJob}, {"TJobApproveStatus", 1}, {"TJobCancelStatus", 0}});
  const char* const days[] = {"2027-01-08 00:00:00", "2027-01-12 00:00:00"};
  for (int ln = 1; ln <= 2; ++ln) {
    db::WriteRow(c, "KZ8TJobMB",
                 {{"TJbMTJobNo", kMrpJob},
                  {"TJbMLn", ln},
                  {"TJbMTPdtCode", "SHELF-OAK"},
                  {"TJbMSourceDate", days[ln - 1]}});
  }
  struct Material {
    int line;
    const char* product;
    double quantity;
  };
  const Material materials[] = {{1, "OAK-BOARD", 12}, {1, "SCREW-6", 48}, {2, "OAK-BOARD", 8}};
  int n = 0;
  for (const Material& m : materials) {
    db::WriteRow(c, "KZ8TJobMaterial",
                 {{"TJMtTJbMTJobNo", kMrpJob},
                  {"TJMtTJbMLn", m.line},
                  {"TJMtLn", ++n},
                  {"TJMtTPdtCode", "SHELF-OAK"},
                  {"TJMtProductCode", m.product},
                  {"TJMtQuantity", m.quantity}});
  }
}

}  // namespace

MrpRun ShowMrpRun(DataObj& data) {
  LoadStock(data);
  LoadJob(data.Connection());
  const DayRange range{OleDate::FromParts(2027, 1, 4), OleDate::FromParts(2027, 1, 17)};
  const MrpRun run = RunMrp(data, range, {}, {});
  std::cout << "\nMaterial requirements for two weeks (kz8mrp mrp): boards and screws received\n"
            << "into stock, and job " << kMrpJob << " needing them on the 8th and the 12th\n";
  for (const MrpProduct& p : run.products) {
    if (p.code != "OAK-BOARD") continue;
    std::cout << "  OAK-BOARD at the end of each day:";
    for (const MrpDay& d : p.days) std::cout << ' ' << text::NumberText(d.closing);
    std::cout << '\n';
  }
  std::cout << ShortageTable(run);
  return run;
}

}  // namespace kz8mrp::cli
