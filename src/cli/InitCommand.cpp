// `kz8mrp init` and `kz8mrp setting`: a planning database and its settings.
#include <CLI/CLI.hpp>

#include <kz8mrp/Error.h>

#include "cli/Commands.h"
#include "cli/Usage.h"
#include "host/db/Connection.h"
#include "host/schema/Schema.h"
#include "host/services/SettingKeys.h"
#include "host/services/SettingTools.h"

#include <iostream>
#include <memory>

namespace kz8mrp::cli {
namespace {

struct InitOptions {
  std::string db;
  bool demo = false;
};

struct SettingOptions {
  std::string db;
  std::string key;
  std::string value;
};

void Init(const InitOptions& o) {
  auto connection = db::Connection::Open(o.db, db::OpenMode::Create);
  schema::Install(*connection);
  if (o.demo) LoadDemoPlant(*connection);
}

void ShowOrWriteSetting(const SettingOptions& o, bool write) {
  // A value the engine could not read is refused before the database is opened.
  if (write) {
    try {
      host::CheckSettingValue(o.key, o.value);
    } catch (const Error& e) {
      throw UsageError(e.what());
    }
  }
  auto connection = db::Connection::Open(o.db);
  if (write) {
    host::SettingTools().Put(o.key, o.value, *connection);
    return;
  }
  std::string value;
  host::ReadSetting(*connection, o.key, value);
  std::cout << value << '\n';
}

}  // namespace

void AddInitCommand(CLI::App& app) {
  auto o = std::make_shared<InitOptions>();
  CLI::App* init = app.add_subcommand(
      "init", "Create every table and view (again on an existing database: adds what is missing)");
  init->add_option("--db", o->db, kDbHelp)->required();
  init->add_flag("--demo", o->demo, "Also load a small demonstration plant");
  init->callback([o] { Init(*o); });
}

void AddSettingCommand(CLI::App& app) {
  auto o = std::make_shared<SettingOptions>();
  CLI::App* setting =
      app.add_subcommand("setting", "Show a system setting, or write it when VALUE is given");
  setting->add_option("--db", o->db, kDbHelp)->required();
  setting->add_option("KEY", o->key, "The setting's key")->required();
  CLI::Option* value = setting->add_option("VALUE", o->value, "The value to store");
  setting->callback([o, value] { ShowOrWriteSetting(*o, value->count() > 0); });
}

}  // namespace kz8mrp::cli
