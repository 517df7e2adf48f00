#pragma once

#include <iosfwd>
#include <string>
#include <vector>

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

int CallCommand(const std::vector<std::string>& args);
int MethodsCommand(const std::vector<std::string>& args);

// Installs the pick-list answer of "--pick" ("none", or row numbers from 1), or
// the terminal prompt when there is none.
void InstallPickList(AppObj& app, const std::string& pick_option);

// The demonstration plant: sections, holidays, settings and what later parts
// of the demo plan with.
void LoadDemoPlant(db::Connection& connection);
// The job of the demonstration plant whose machine schedule the demo books.
inline constexpr const char* kDemoScheduleJob = "JOB-DEMO-1";
int DemoCommand(const std::vector<std::string>& args);

// The demonstration's sales order, and the job made from it with its totals.
void LoadDemoSalesOrders(db::Connection& connection);
void ShowJobFromSalesOrder(MRPObject& engine, DataObj& data, AppObj& app, ClientObj& client);

}  // namespace kz8mrp::cli
