// The sub-commands of kz8mrp. Each Add...Command puts its sub-command, with its
// options and help, on the program's parser and runs it from the parser's
// callback; a new sub-command is one such function listed in main.cpp.
#pragma once

#include <string>

namespace CLI {
class App;
}

namespace kz8mrp {
class AppObj;
class ClientObj;
class DataObj;
class MRPObject;
namespace db {
class Connection;
}
}  // namespace kz8mrp

namespace kz8mrp::cli {

void AddInitCommand(CLI::App& app);
void AddSettingCommand(CLI::App& app);
void AddCallCommand(CLI::App& app);
void AddMethodsCommand(CLI::App& app);
void AddHelpCommand(CLI::App& app);
void AddScheduleCommand(CLI::App& app);
void AddMrpCommand(CLI::App& app);
void AddExplodeCommand(CLI::App& app);
void AddDemoCommand(CLI::App& app);

// The description of a database that every sub-command's --db takes.
inline constexpr const char* kDbHelp =
    "a SQLite file (PATH or sqlite:PATH) or a PostgreSQL server (postgresql://... or "
    "\"host=... dbname=...\")";

// Installs the pick-list answer of "--pick" ("none", or row numbers from 1), or
// the terminal prompt when there is none.
void InstallPickList(AppObj& app, const std::string& pick_option);

// The demonstration plant: sections, holidays, settings and what later parts
// of the demo plan with.
void LoadDemoPlant(db::Connection& connection);
// The job of the demonstration plant whose machine schedule the demo books.
inline constexpr const char* kDemoScheduleJob = "JOB-DEMO-1";

// The demonstration's sales order, and the job made from it with its totals;
// returns the job's number.
inline constexpr const char* kDemoSalesOrder = "SO2612-0007";
void LoadDemoSalesOrders(db::Connection& connection);
std::string ShowJobFromSalesOrder(MRPObject& engine, DataObj& data, AppObj& app, ClientObj& client);
// A job's lines with what is on orders and still to order, and its totals.
void ShowJob(DataObj& data, const std::string& job);

// The books and settings the demonstration's orders are made with (and no
// order an earlier run made), and the orders themselves on the job: each shown
// with its steps, materials and labour.
void LoadDemoOrders(db::Connection& connection);
void ShowOrdersOnJob(MRPObject& engine, DataObj& data, AppObj& app, ClientObj& client,
                     const std::string& job);
// An order's header in a line, then its steps, materials and labour.
void ShowOrder(DataObj& data, const std::string& no);

// The chair's master routing, bill of materials and labour list, and process
// orders: one for a routing line of the job, one for a week's stock of chairs.
void LoadChairMaster(db::Connection& connection);
void ShowProcessOrders(MRPObject& engine, DataObj& data, AppObj& app, ClientObj& client,
                       const std::string& job);

// The plant's products planned for two weeks against a job's materials, with
// the products that run short; the run, for its page.
struct MrpRun;
MrpRun ShowMrpRun(DataObj& data);
// A forecast's product with two levels of bills of materials, and its
// semi-finished explosion into the forecast's material lines.
void LoadDemoExplosion(db::Connection& connection);
void ShowForecastExplosion(MRPObject& engine, DataObj& data);

}  // namespace kz8mrp::cli
