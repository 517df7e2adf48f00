// kz8mrp: create a planning database and call any method of the engine on it.
#include <kz8mrp/Error.h>

#include <CLI/CLI.hpp>

#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/Suggest.h"
#include "cli/Usage.h"

#include <iostream>
#include <optional>

namespace kz8mrp::cli {
namespace {

// Every sub-command of the program, in the order the usage lists them.
constexpr void (*kCommands[])(CLI::App&) = {
    AddInitCommand,     AddCallCommand, AddSettingCommand, AddMethodsCommand, AddHelpCommand,
    AddScheduleCommand, AddMrpCommand,  AddExplodeCommand, AddDemoCommand};

// A failed call given --json also answers in JSON, so that a script reads both
// outcomes from standard output.
bool AnswersInJson(const CLI::App& app) {
  for (const CLI::App* sub : app.get_subcommands()) {
    const CLI::Option* json = sub->get_option_no_throw("--json");
    if (json && json->count() > 0) return true;
  }
  return false;
}

int ReportFailure(const Error& e, bool json) {
  std::cerr << "error " << e.Number() << ": " << e.what() << '\n';
  if (!e.Sql().empty()) std::cerr << "  in: " << e.Sql() << '\n';
  if (json) PrintJson(Json{{"error", {{"number", e.Number()}, {"text", e.what()}}}});
  return 1;
}

// A first word that names no sub-command, with the nearest one.
std::optional<std::string> UnknownCommand(const CLI::App& app) {
  if (!app.get_subcommands().empty() || app.remaining().empty()) return std::nullopt;
  std::vector<std::string> names;
  for (const CLI::App* sub : app.get_subcommands({})) names.push_back(sub->get_name());
  const std::string word = app.remaining().front();
  return "unknown command: " + word + DidYouMean(word, names);
}

int ReportUsageError(const std::string& what) {
  std::cerr << "kz8mrp: " << what << "\n(kz8mrp --help shows the usage)\n";
  return 2;
}

int Run(int argc, char** argv) {
  CLI::App app("kz8mrp: plan production on a SQLite file or a PostgreSQL server", "kz8mrp");
  app.require_subcommand(1);
  app.footer("kz8mrp COMMAND --help describes a command; kz8mrp help METHOD describes a method.");
  for (const auto add : kCommands) add(app);
  try {
    app.parse(argc, argv);
    return 0;
  } catch (const CLI::Success& e) {
    return app.exit(e);  // --help
  } catch (const CLI::ParseError& e) {
    return ReportUsageError(UnknownCommand(app).value_or(e.what()));
  } catch (const UsageError& e) {
    return ReportUsageError(e.what());
  } catch (const Error& e) {
    return ReportFailure(e, AnswersInJson(app));
  } catch (const std::exception& e) {
    return ReportFailure(Error(0, e.what()), AnswersInJson(app));
  }
}

}  // namespace
}  // namespace kz8mrp::cli

int main(int argc, char** argv) {
  try {
    return kz8mrp::cli::Run(argc, argv);
  } catch (...) {
    return 1;  // the failure could not even be reported
  }
}
