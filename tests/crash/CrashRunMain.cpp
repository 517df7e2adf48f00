// kz8mrp_crash_run CONNECTION SCENARIO [N]: one planner's change on the demo plant, in a process of
// its own that is killed (as by kill -9) just before its (N+1)th statement reaches the database.
// Without N the change runs to its end and the number of statements it sent is printed.
#include <kz8mrp/MRPObject.h>

#include "cli/MrpRun.h"
#include "host/db/Connection.h"

#include <signal.h>
#include <unistd.h>

#include <functional>
#include <iostream>
#include <limits>
#include <map>
#include <stdexcept>
#include <string>

namespace {

using kz8mrp::AppObj;
using kz8mrp::ClientObj;
using kz8mrp::DataObj;
using kz8mrp::MRPObject;

using Scenario = std::function<void(MRPObject&, DataObj&, AppObj&, ClientObj&)>;

// Each change as a planner's program makes it, on the demo plant's documents.
const std::map<std::string, Scenario> kScenarios = {
    {"job-from-sales-order",
     [](MRPObject& engine, DataObj& data, AppObj& app, ClientObj& client) {
       data.BeginTrans();
       engine.CreateJOBfromSO2TR("SO2612-0007", "", "", 0, data, app, client);
       data.CommitTrans();
     }},
    {"schedule-from-job",
     [](MRPObject& engine, DataObj& data, AppObj& app, ClientObj& client) {
       engine.CreateMPSFromJob("JOB-DEMO-1", data, app, client);
     }},
    // On the plant the whole demo leaves: the six chairs its job still has to
    // order, approved at once, so the job's totals move with the order.
    {"production-order-from-job-line",
     [](MRPObject& engine, DataObj& data, AppObj& app, ClientObj& client) {
       if (engine.CreateProductionOrderFromJobLn3("JOB-2612-00001", 2, 1, data, app, client, 6)
               .empty()) {
         throw std::runtime_error("no production order was made");
       }
     }},
    // On the plant the whole demo leaves: the two weeks before the sales
    // order is due, for every product, in the one run the planner starts.
    {"mrp-run",
     [](MRPObject&, DataObj& data, AppObj&, ClientObj&) {
       const kz8mrp::cli::DayRange fortnight{kz8mrp::OleDate::FromParts(2027, 1, 18),
                                             kz8mrp::OleDate::FromParts(2027, 1, 29)};
       if (kz8mrp::cli::RunMrp(data, fortnight, {}, {}).products.empty())
         throw std::runtime_error("no product was planned");
     }},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4 || !kScenarios.count(argv[2])) {
    std::cerr << "usage: kz8mrp_crash_run CONNECTION SCENARIO [N]\n";
    return 2;
  }
  const auto limit = argc == 4 ? std::stoull(argv[3]) : std::numeric_limits<std::uint64_t>::max();
  std::uint64_t sent = 0;
  kz8mrp::db::SetStatementTap([&](const kz8mrp::db::Connection&, const std::string&,
                                  const std::vector<kz8mrp::db::Value>&) {
    if (++sent > limit) ::kill(::getpid(), SIGKILL);
  });
  try {
    AppObj app;
    ClientObj client("planner", "PLN", "HQ");
    DataObj data(argv[1], app, client);
    data.SetNow(kz8mrp::OleDate::FromParts(2027, 1, 4, 9, 0));
    MRPObject engine;
    kScenarios.at(argv[2])(engine, data, app, client);
  } catch (const std::exception& e) {
    std::cerr << "error: " << e.what() << '\n';
    return 1;
  }
  std::cout << sent << '\n';
  return 0;
}
