#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kz8mrp {
class AppObj;
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
int DemoCommand(const std::vector<std::string>& args);

}  // namespace kz8mrp::cli
