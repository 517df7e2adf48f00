// `kz8mrp methods` and `kz8mrp help`: what the engine offers, from its method table.
#include <CLI/CLI.hpp>

#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/MethodHelp.h"

#include <cstdio>
#include <iostream>
#include <memory>

namespace kz8mrp::cli {
namespace {

using component::Method;
using component::Param;

Json MethodJson(const Method& m) {
  char id[16];
  std::snprintf(id, sizeof id, "0x%08X", m.DispatchId());
  Json params = Json::array();
  for (const Param& p : m.params) {
    Json param{{"name", p.name},
               {"type", component::TypeName(p.type)},
               {"byref", p.by_ref},
               {"optional", p.optional}};
    if (p.optional) param["default"] = ToJson(component::DefaultValue(p));
    params.push_back(std::move(param));
  }
  return Json{{"index", m.index},
              {"dispid", id},
              {"name", m.name},
              {"result", component::TypeName(m.result)},
              {"callers_transaction", RunsInCallersTransaction(m)},
              {"params", std::move(params)}};
}

void ListMethods(bool json) {
  Json all = Json::array();
  for (const Method& m : component::Methods()) {
    if (json) {
      all.push_back(MethodJson(m));
    } else {
      std::cout << Declaration(m) << '\n';
    }
  }
  if (json) PrintJson(all);
}

}  // namespace

void AddMethodsCommand(CLI::App& app) {
  auto json = std::make_shared<bool>(false);
  CLI::App* methods = app.add_subcommand("methods", "List the engine's public methods");
  methods->add_flag("--json", *json, "As a JSON array of methods and their parameters");
  methods->callback([json] { ListMethods(*json); });
}

void AddHelpCommand(CLI::App& app) {
  auto method = std::make_shared<std::string>();
  CLI::App* help = app.add_subcommand(
      "help", "Describe a method: its parameters, types, defaults and transaction");
  help->add_option("METHOD", *method, "The method (without it: the program's usage)");
  help->callback([method, &app] {
    // The program's own usage, not the help sub-command's.
    std::cout << (method->empty() ? app.get_formatter()->make_help(&app, app.get_name(),
                                                                   CLI::AppFormatMode::Normal)
                                  : MethodHelp(MethodNamed(*method)));
  });
}

}  // namespace kz8mrp::cli
