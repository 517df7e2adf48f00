// The demonstration's sales order and the job made from it: what a planner
// sees when an accepted order reaches production, and how the job's totals
// follow the production orders opened on it.
#include <kz8mrp/MRPObject.h>

#include "cli/Commands.h"
#include "common/Text.h"
#include "host/Sql.h"
#include "host/db/Connection.h"
#include "host/db/Rows.h"
#include "host/services/SettingTools.h"

#include <iostream>

namespace kz8mrp::cli {
namespace {

void LoadProducts(db::Connection& c) {
  struct Product {
    const char* code;
    const char* name;
  };
  const Product products[] = {
      {"TBL-OAK", "โต๊ะอาหารไม้โอ๊ค"},  // oak dining table
      {"CHR-OAK", "เก้าอี้ไม้โอ๊ค"},      // oak chair
  };
  for (const Product& p : products) {
    db::WriteRow(c, "KZ8TProduct",
                 {{"TPdtCode", p.code},
                  {"TPdtName", p.name},
                  {"TPdtTUntCode", "PCS"},
                  {"TPdtTUntCode2", "SET"},
                  {"TPdtTUntCode3", "BOX"},
                  {"TPdtUnit2Ratio", 1},
                  {"TPdtUnit3Ratio", 1}});
  }
}

// Jobs made from sales orders start on the final assembly step.
void LoadJobSettings(db::Connection& c) {
  db::WriteRow(c, "KZ8TMRPStepName",
               {{"TSepCode", "FINAL"}, {"TSepName", "Final assembly"}, {"TSepTSecCode", "ASM"}});
  const host::SettingTools settings;
  settings.Put("SOAPPROVEJOBSTEPCODE", "FINAL", c);
  settings.Put("MRPPercentOrderMode", "0", c);
}

void LoadSalesOrder(db::Connection& c) {
  db::WriteRow(c, "KZ8TSO",
               {{"TSODNo", kDemoSalesOrder},
                {"TSODCode", "DINING-SET"},
                {"TSODDate", "2026-12-21"},
                {"TSODDeliveryDate", "2027-01-29"},
                {"TSODRefNo", "PO-4471"},
                {"TSODTBraCode", "HQ"},
                {"TSODTARNCode", "AR-017"},
                {"TSODCustomerName", "บริษัท เฟอร์นิเจอร์ไทย จำกัด"},
                {"TSODDescription", "Dining sets for the Chiang Mai showroom"},
                {"TSODSaleName", "Somchai"},
                {"TSODRevision", 0}});
  struct Line {
    int ln;
    const char* product;
    const char* name;
    double quantity;
  };
  const Line lines[] = {
      {1, "TBL-OAK", "โต๊ะอาหารไม้โอ๊ค", 4},
      {2, "CHR-OAK", "เก้าอี้ไม้โอ๊ค", 16},
      {3, "", "Delivery and set-up", 0},
  };
  for (const Line& l : lines) {
    db::WriteRow(c, "KZ8TSOMB",
                 {{"TSOBTSODNo", kDemoSalesOrder},
                  {"TSOBLn", l.ln},
                  {"TSOBTPOSCode", l.product},
                  {"TSOBPOSName", l.name},
                  {"TSOBRequestDate", "2027-01-25"},
                  {"TSOBQuantity", l.quantity},
                  {"TSOBQuantity2", l.quantity},
                  {"TSOBQuantity3", l.quantity},
                  {"TSOBTUntCode", "PCS"}});
  }
}

// Left-aligns by what the terminal shows, so Thai names line up.
std::string Pad(const std::string& s, std::size_t width) {
  const std::size_t w = text::DisplayWidth(s);
  return s + std::string(w < width ? width - w : 0, ' ');
}

std::string Right(const std::string& s, std::size_t width) {
  return std::string(s.size() < width ? width - s.size() : 0, ' ') + s;
}

}  // namespace

void ShowJob(DataObj& data, const std::string& job) {
  db::Connection& c = data.Connection();
  std::cout << "  line  product  name                  ordered  on orders  to order  steps\n";
  const auto lines = c.Query(
      "SELECT TJbMLn, TJbMTPdtCode, TJbMProductName, TJbMQuantity, TJbMTotalRequest, "
      "TJbMTotalArrear, TJStTSepCode, TJStProcessStatus, TJStTJPDNo FROM KZ8TJobMB "
      "LEFT JOIN KZ8TJobMethod ON TJStTJbMTJobNo = TJbMTJobNo AND TJStTJbMLn = TJbMLn "
      "WHERE TJbMTJobNo=" +
      sql::Text(job) + " ORDER BY TJbMLn, TJStLn");
  // One line each, its routing steps side by side, each run of steps followed
  // by the order that covers it.
  const auto cover = [](const auto& r) {
    return r[7].AsText() == "1" ? " (" + r[8].AsText() + ")" : std::string();
  };
  for (std::size_t i = 0; i < lines.rows.size(); ++i) {
    const auto& r = lines.rows[i];
    if (i == 0 || lines.rows[i - 1][0].AsText() != r[0].AsText()) {
      std::cout << "  " << Right(r[0].AsText(), 4) << "  " << Pad(r[1].AsText(), 7) << "  "
                << Pad(r[2].AsText(), 20) << Right(r[3].AsText(), 9) << Right(r[4].AsText(), 11)
                << Right(r[5].AsText(), 10) << "  ";
    } else {
      std::cout << ", ";
    }
    std::cout << r[6].AsText();
    const bool line_ends =
        i + 1 == lines.rows.size() || lines.rows[i + 1][0].AsText() != r[0].AsText();
    if (line_ends || cover(lines.rows[i + 1]) != cover(r)) std::cout << cover(r);
    if (line_ends) std::cout << '\n';
  }
  const auto totals = c.Query(
      "SELECT TJobTotalRequest, TJobTotalArrear FROM KZ8TJob WHERE TJobNo=" + sql::Text(job));
  if (totals.rows.empty()) return;
  std::cout << "  job totals: covered " << totals.rows[0][0].AsText() << ", still to order "
            << totals.rows[0][1].AsText() << "\n";
}

namespace {

// The job already made from the demo order, so that running the demo again
// on the same database rebuilds it under its number.
std::string ExistingJob(DataObj& data) {
  const auto rs = data.Connection().Query("SELECT TJobNo FROM KZ8TJob WHERE TJobRefNo=" +
                                          sql::Text(kDemoSalesOrder) + " ORDER BY TJobNo");
  return rs.rows.empty() ? std::string() : rs.rows[0][0].AsText();
}

}  // namespace

void LoadDemoSalesOrders(db::Connection& connection) {
  LoadProducts(connection);
  LoadJobSettings(connection);
  LoadSalesOrder(connection);
}

std::string ShowJobFromSalesOrder(MRPObject& engine, DataObj& data, AppObj& app,
                                  ClientObj& client) {
  std::cout << "\nJob from sales order " << kDemoSalesOrder
            << " (บริษัท เฟอร์นิเจอร์ไทย จำกัด, due 2027-01-29)\n";
  data.BeginTrans();
  std::string job =
      engine.CreateJOBfromSO2TR(kDemoSalesOrder, ExistingJob(data), "", 0, data, app, client);
  data.CommitTrans();
  std::cout << "  job " << job << ", confirmed and approved; every line on step FINAL\n";
  ShowJob(data, job);
  return job;
}

}  // namespace kz8mrp::cli
