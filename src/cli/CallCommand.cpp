// `kz8mrp call`: one public method of the engine, run on a database.
#include <kz8mrp/MRPObject.h>

#include <CLI/CLI.hpp>

#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/Explain.h"
#include "cli/Json.h"
#include "cli/MethodHelp.h"
#include "cli/Usage.h"

#include <iostream>
#include <memory>
#include <optional>

namespace kz8mrp::cli {
namespace {

using component::Method;
using component::Variant;

struct CallOptions {
  std::string db;
  std::string user = "mrp";
  std::string user_code = "MRP";
  std::string branch = "HQ";
  std::string now;
  std::string pick;
  bool english = false;
  bool json = false;
  bool explain = false;
  bool help = false;
  std::string method;
  std::vector<std::string> args;
};

// A TR method runs in a transaction of the call's own: committed when it
// returns, rolled back when it fails or when a document-creating one returns
// no document.
Variant Invoke(const Method& m, MRPObject& engine, component::Session& session,
               std::vector<Variant>& slots) {
  if (!RunsInCallersTransaction(m)) return m.invoke(engine, session, slots);
  session.data.BeginTrans();
  Variant result;
  try {
    result = m.invoke(engine, session, slots);
  } catch (...) {
    session.data.RollbackTrans();
    throw;
  }
  const auto* text = std::get_if<String>(&result);
  if (text && text->empty()) {
    session.data.RollbackTrans();
  } else {
    session.data.CommitTrans();
  }
  return result;
}

Json ResultJson(const Method& m, const Variant& result, const std::vector<Variant>& slots) {
  Json byref = Json::object();
  for (std::size_t i = 0; i < m.params.size(); ++i) {
    if (m.params[i].by_ref) byref[m.params[i].name] = ToJson(slots[i]);
  }
  return Json{{"result", ToJson(result)}, {"byref", byref}};
}

void Run(const CallOptions& o, const CLI::App& command) {
  if (o.method.empty()) {
    if (o.help) {
      std::cout << command.help();
      return;
    }
    throw UsageError("call needs a METHOD (kz8mrp methods lists them)");
  }
  const Method& m = MethodNamed(o.method);
  if (o.help) {
    std::cout << MethodHelp(m);
    return;
  }
  std::vector<Variant> slots = ReadArguments(m, o.args);
  if (o.db.empty()) throw UsageError("--db is required");

  ClientObj client(o.user, o.user_code, o.branch);
  AppObj app;
  app.SetEnglishUI(o.english);
  InstallPickList(app, o.pick);
  DataObj data(o.db, app, client);
  if (!o.now.empty()) {
    try {
      data.SetNow(OleDate::Parse(o.now));
    } catch (const Error& e) {
      throw UsageError(std::string("--now: ") + e.what());
    }
  }
  MRPObject engine;
  component::Session session{data, app, client};
  Explanation explanation(data);
  std::optional<calendar::ObservedWalks> observed;
  if (o.explain) observed.emplace(explanation);
  const Variant result = Invoke(m, engine, session, slots);
  observed.reset();
  if (o.json) {
    Json answer = ResultJson(m, result, slots);
    if (o.explain) answer["explain"] = explanation.ToJson();
    PrintJson(answer);
  } else {
    std::cout << component::FormatValue(result) << '\n';
    if (o.explain) std::cout << explanation.Text();
  }
}

}  // namespace

void AddCallCommand(CLI::App& app) {
  auto o = std::make_shared<CallOptions>();
  CLI::App* call = app.add_subcommand("call", "Run one public method of the engine on a database");
  // "call METHOD --help" describes the method rather than the command.
  call->set_help_flag();
  call->add_flag("-h,--help", o->help, "Describe the command, or METHOD's parameters");
  call->add_option("--db", o->db, kDbHelp);
  call->add_option("--user", o->user, "User name")->capture_default_str();
  call->add_option("--user-code", o->user_code, "User code")->capture_default_str();
  call->add_option("--branch", o->branch, "Branch code")->capture_default_str();
  call->add_flag("--english", o->english, "English captions instead of Thai");
  call->add_option("--now", o->now, "The session's clock, \"YYYY-MM-DD HH:MM:SS\"");
  call->add_option("--pick", o->pick, "Answer pick lists: row numbers from 1 (N[,N...]) or none");
  call->add_flag("--json", o->json, "One JSON object: {\"result\": ..., \"byref\": {...}}");
  call->add_flag("--explain", o->explain,
                 "After the result, each day the date computation looked at, and why it stopped");
  call->add_option("METHOD", o->method, "The method (kz8mrp methods lists them)");
  call->add_option("ARGS", o->args, "NAME=VALUE for the method's parameters");
  call->callback([o, call] { Run(*o, *call); });
}

}  // namespace kz8mrp::cli
