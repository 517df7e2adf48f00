// What a large sales order costs: made into a job, the job's totals brought up
// to date, and the job booked on the machine schedule, for orders of 250, 1,000
// and 4,000 lines (one product and one routing step per line). Each is timed
// through the engine and against its floor, the same statements sent straight
// through the database's own client library in the same run; time and
// statements should grow with the lines, no faster.
//
// SQLite always; PostgreSQL too when KZ8MRP_BENCH_PG holds a connection string
// (the benchmark installs the schema there and replaces the rows it uses).
#include <kz8mrp/MRPObject.h>

#include "host/db/Connection.h"
#include "host/db/Rows.h"
#include "host/schema/Schema.h"
#include "support/EngineVsFloor.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using kz8mrp::OleDate;
using kz8mrp::db::Connection;
using kz8mrp::db::InsertRow;

const OleDate kOrderDate = OleDate::FromParts(2027, 1, 4);
constexpr int kSizes[] = {250, 1000, 4000};

std::string SalesOrder(int lines) { return "SO-" + std::to_string(lines); }
std::string JobOf(int lines) { return "JB-" + std::to_string(lines); }

void ClearRows(Connection& c) {
  for (const char* table :
       {"KZ8TSection", "KZ8TMRPStepName", "KZ8TSetting", "KZ8TSO", "KZ8TSOMB", "KZ8TSO2", "KZ8TSO3",
        "KZ8TJob", "KZ8TJobMB", "KZ8TJobMethod", "KZ8TJobMaterial", "KZ8TJobDL",
        "KZ8TJobProduction", "KZ8TJobProductionM", "KZ8TMPS", "KZ8TDocNo"}) {
    c.Execute(std::string("DELETE FROM ") + table);
  }
}

// Jobs from sales orders start on final assembly, eight hours a day.
void LoadSettings(Connection& c) {
  InsertRow(c, "KZ8TSection", {{"TSecCode", "ASM"}, {"TSecHOffice", 8}});
  InsertRow(c, "KZ8TMRPStepName", {{"TSepCode", "FINAL"}, {"TSepTSecCode", "ASM"}});
  InsertRow(c, "KZ8TSetting", {{"TSetKey", "SOAPPROVEJOBSTEPCODE"}, {"TSetValue", "FINAL"}});
  InsertRow(c, "KZ8TSetting", {{"TSetKey", "MRPPercentOrderMode"}, {"TSetValue", "0"}});
  InsertRow(c, "KZ8TSetting", {{"TSetKey", "MRPHourPerDay"}, {"TSetValue", "8"}});
}

void LoadSalesOrder(Connection& c, int lines) {
  const std::string so = SalesOrder(lines);
  InsertRow(c, "KZ8TSO",
            {{"TSODNo", so},
             {"TSODCode", "FRAME-" + std::to_string(lines)},
             {"TSODDate", kOrderDate},
             {"TSODDeliveryDate", kOrderDate.AddDays(90)},
             {"TSODTBraCode", "HQ"},
             {"TSODCustomerName", "Framework contract"},
             {"TSODRevision", 0}});
  for (int ln = 1; ln <= lines; ++ln) {
    const std::string product = "P-" + std::to_string(ln);
    InsertRow(c, "KZ8TSOMB",
              {{"TSOBTSODNo", so},
               {"TSOBLn", ln},
               {"TSOBTPOSCode", product},
               {"TSOBPOSName", "Part " + product},
               {"TSOBRequestDate", kOrderDate.AddDays(60)},
               {"TSOBQuantity", 10 + ln % 7},
               {"TSOBQuantity2", 10 + ln % 7},
               {"TSOBQuantity3", 1},
               {"TSOBTUntCode", "PCS"}});
  }
}

// Every fourth line already has a production order of one step.
void LoadProductionOrders(Connection& c, int lines) {
  const std::string job = JobOf(lines);
  for (int ln = 4; ln <= lines; ln += 4) {
    const std::string order = "PD-" + std::to_string(lines) + "-" + std::to_string(ln);
    InsertRow(c, "KZ8TJobProduction",
              {{"TJPdNo", order},
               {"TJPdTJbMTJobNo", job},
               {"TJPdTJbMLn", ln},
               {"TJPdProductCode", "P-" + std::to_string(ln)},
               {"TJPdCancelStatus", 0},
               {"TJPdApproveStatus", 1},
               {"TJPdQuantity", 5},
               {"TJPdQuantity2", 5},
               {"TJPdQuantity3", 1}});
    InsertRow(c, "KZ8TJobProductionM",
              {{"TJPMTJPdNo", order}, {"TJPMLn", 1}, {"TJPMTSepCode", "FINAL"}, {"TJPMStep", 1}});
  }
}

void LoadPlant(const std::string& connection_string) {
  auto c = Connection::Open(connection_string, kz8mrp::db::OpenMode::Create);
  kz8mrp::schema::Install(*c);
  kz8mrp::db::Transaction tx(*c);
  ClearRows(*c);
  LoadSettings(*c);
  for (const int lines : kSizes) {
    LoadSalesOrder(*c, lines);
    LoadProductionOrders(*c, lines);
  }
  tx.Commit();
}

void MakeJob(kz8bench::Session& s, int lines) {
  kz8bench::InTransaction(s, [&] {
    if (s.engine.CreateJOBfromSO2TR(SalesOrder(lines), JobOf(lines), "", 0, s.data, s.app,
                                    s.client) != JobOf(lines)) {
      throw std::runtime_error("no job made from " + SalesOrder(lines));
    }
  });
}

// The job as the planner leaves it for scheduling: lines dated, and each
// routing step estimated at a day and a half.
void PlanJob(kz8bench::Session& s, int lines) {
  MakeJob(s, lines);
  const std::string job = "'" + JobOf(lines) + "'";
  kz8bench::InTransaction(s, [&] {
    s.data.ExecuteSQL("UPDATE KZ8TJobMB SET TJbMStartDate=TJbMSourceDate WHERE TJbMTJobNo=" + job);
    s.data.ExecuteSQL("UPDATE KZ8TJobMethod SET TJStEstimateDay=1.5 WHERE TJStTJbMTJobNo=" + job);
  });
}

std::vector<kz8bench::Work> Calls() {
  std::vector<kz8bench::Work> work;
  for (const int lines : kSizes) {
    const std::string size = "/" + std::to_string(lines) + " lines";
    work.push_back(
        {"CreateJOBfromSO2TR" + size, [lines](kz8bench::Session& s) { MakeJob(s, lines); }});
    work.push_back({"AdjustJOB2TR" + size,
                    [lines](kz8bench::Session& s) {
                      kz8bench::InTransaction(s, [&] {
                        s.engine.AdjustJOB2TR("", JobOf(lines), true, s.data, s.app, s.client);
                      });
                    },
                    [lines](kz8bench::Session& s) { MakeJob(s, lines); }});
    work.push_back(
        {"CreateMPSFromJobTR" + size,
         [lines](kz8bench::Session& s) {
           kz8bench::InTransaction(s, [&] {
             if (s.engine.CreateMPSFromJobTR(JobOf(lines), s.data, s.app, s.client).empty()) {
               throw std::runtime_error("nothing booked for " + JobOf(lines));
             }
           });
         },
         [lines](kz8bench::Session& s) { PlanJob(s, lines); }});
  }
  return work;
}

}  // namespace

int main(int argc, char** argv) {
  return kz8bench::Run(argc, argv, {LoadPlant, Calls(), kOrderDate.AddHours(8), true, 3});
}
