// kz8mrp: create a planning database and call any method of the engine on it.
#include <kz8mrp/Error.h>

#include "cli/Commands.h"
#include "cli/Options.h"
#include "host/db/Connection.h"
#include "host/schema/Schema.h"
#include "host/services/SettingKeys.h"
#include "host/services/SettingTools.h"

#include <iostream>

namespace kz8mrp::cli {
namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  kz8mrp init    --db DB [--demo]\n"
    "  kz8mrp call    --db DB [--user NAME] [--user-code CODE] [--branch CODE] [--english]\n"
    "                 [--now \"YYYY-MM-DD HH:MM:SS\"] [--pick N[,N...]|none] [--json]\n"
    "                 METHOD [NAME=VALUE ...]\n"
    "  kz8mrp setting --db DB KEY [VALUE]\n"
    "  kz8mrp methods [--json]\n"
    "  kz8mrp demo    [--db DB]\n"
    "DB is a SQLite file (PATH or sqlite:PATH) or a PostgreSQL server\n"
    "(postgresql://... or \"host=... dbname=...\").\n";

int InitCommand(const std::vector<std::string>& args) {
  const Options o(args, {"db"}, {"demo"});
  if (!o.Words().empty()) throw UsageError("init takes no words: " + o.Words().front());
  auto connection = db::Connection::Open(o.Require("db"), db::OpenMode::Create);
  schema::Install(*connection);
  if (o.Has("demo")) LoadDemoPlant(*connection);
  return 0;
}

int SettingCommand(const std::vector<std::string>& args) {
  const Options o(args, {"db"}, {});
  const auto& words = o.Words();
  if (words.empty() || words.size() > 2) throw UsageError("setting takes KEY [VALUE]");
  // A value the engine could not read is refused before the database is opened.
  if (words.size() == 2) {
    try {
      host::CheckSettingValue(words[0], words[1]);
    } catch (const Error& e) {
      throw UsageError(e.what());
    }
  }
  auto connection = db::Connection::Open(o.Require("db"));
  if (words.size() == 2) {
    host::SettingTools().Put(words[0], words[1], *connection);
    return 0;
  }
  std::string value;
  host::ReadSetting(*connection, words[0], value);
  std::cout << value << '\n';
  return 0;
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) throw UsageError("a command is required");
  const std::string& command = args.front();
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "init") return InitCommand(rest);
  if (command == "call") return CallCommand(rest);
  if (command == "setting") return SettingCommand(rest);
  if (command == "methods") return MethodsCommand(rest);
  if (command == "demo") return DemoCommand(rest);
  if (command == "help" || command == "--help" || command == "-h") {
    std::cout << kUsage;
    return 0;
  }
  throw UsageError("unknown command: " + command);
}

}  // namespace
}  // namespace kz8mrp::cli

int main(int argc, char** argv) {
  using namespace kz8mrp;
  try {
    return cli::Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const cli::UsageError& e) {
    std::cerr << "kz8mrp: " << e.what() << "\n(kz8mrp help shows the usage)\n";
    return 2;
  } catch (const Error& e) {
    std::cerr << "error " << e.Number() << ": " << e.what() << '\n';
    if (!e.Sql().empty()) std::cerr << "  in: " << e.Sql() << '\n';
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "error: " << e.what() << '\n';
    return 1;
  }
}
