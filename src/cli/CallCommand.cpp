// `kz8mrp call` and `kz8mrp methods`: the method table put on the command line.
#include <kz8mrp/MRPObject.h>

#include "cli/Commands.h"
#include "cli/Options.h"
#include "common/Text.h"
#include "component/MethodTable.h"

#include <iostream>

namespace kz8mrp::cli {
namespace {

using component::Method;
using component::Param;
using component::Variant;

const Method& MethodNamed(const std::string& name) {
  const Method* m = component::FindMethod(name);
  if (!m) throw UsageError("unknown method: " + name + " (kz8mrp methods lists them)");
  return *m;
}

Variant ReadArgument(const Param& p, const std::string& value) {
  try {
    return component::ParseValue(p.type, value);
  } catch (const Error& e) {
    throw UsageError("parameter " + p.name + ": " + e.what());
  }
}

// One slot per parameter: given values, defaults of omitted optional ones.
std::vector<Variant> ReadArguments(const Method& m, const std::vector<std::string>& words) {
  std::vector<Variant> slots(m.params.size());
  std::vector<bool> given(m.params.size(), false);
  for (std::size_t w = 1; w < words.size(); ++w) {
    const auto eq = words[w].find('=');
    if (eq == std::string::npos) throw UsageError("expected NAME=VALUE, got " + words[w]);
    const std::string name = words[w].substr(0, eq);
    std::size_t i = 0;
    while (i < m.params.size() && (!text::EqualsNoCase(m.params[i].name, name) ||
                                   component::IsSession(m.params[i].type))) {
      ++i;
    }
    if (i == m.params.size()) throw UsageError(m.name + " has no parameter " + name);
    if (given[i]) throw UsageError("parameter " + name + " given twice");
    slots[i] = ReadArgument(m.params[i], words[w].substr(eq + 1));
    given[i] = true;
  }
  for (std::size_t i = 0; i < m.params.size(); ++i) {
    const Param& p = m.params[i];
    if (given[i] || component::IsSession(p.type)) continue;
    if (!p.optional) throw UsageError(m.name + " needs " + p.name);
    slots[i] = component::DefaultValue(p);
  }
  return slots;
}

bool EndsInTR(const std::string& name) {
  return name.size() > 2 && name.compare(name.size() - 2, 2, "TR") == 0;
}

// A TR method runs in a transaction of the call's own: committed when it
// returns, rolled back when it fails or when a document-creating one returns
// no document.
Variant Invoke(const Method& m, MRPObject& engine, component::Session& session,
               std::vector<Variant>& slots) {
  if (!EndsInTR(m.name)) return m.invoke(engine, session, slots);
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

void PrintJson(const Method& m, const Variant& result, const std::vector<Variant>& slots) {
  std::cout << "{\"result\": " << component::FormatJson(result) << ", \"byref\": {";
  bool first = true;
  for (std::size_t i = 0; i < m.params.size(); ++i) {
    if (!m.params[i].by_ref) continue;
    std::cout << (first ? "" : ", ") << '"' << m.params[i].name
              << "\": " << component::FormatJson(slots[i]);
    first = false;
  }
  std::cout << "}}\n";
}

}  // namespace

int CallCommand(const std::vector<std::string>& args) {
  const Options o(args, {"db", "user", "user-code", "branch", "now", "pick"}, {"english", "json"});
  if (o.Words().empty()) throw UsageError("call needs a METHOD");
  const Method& m = MethodNamed(o.Words().front());
  std::vector<Variant> slots = ReadArguments(m, o.Words());
  const std::string db = o.Require("db");

  ClientObj client(o.Get("user", "mrp"), o.Get("user-code", "MRP"), o.Get("branch", "HQ"));
  AppObj app;
  app.SetEnglishUI(o.Has("english"));
  InstallPickList(app, o.Get("pick"));
  DataObj data(db, app, client);
  if (o.Has("now")) {
    try {
      data.SetNow(OleDate::Parse(o.Get("now")));
    } catch (const Error& e) {
      throw UsageError(std::string("--now: ") + e.what());
    }
  }

  MRPObject engine;
  component::Session session{data, app, client};
  const Variant result = Invoke(m, engine, session, slots);
  if (o.Has("json")) {
    PrintJson(m, result, slots);
  } else {
    std::cout << component::FormatValue(result) << '\n';
  }
  return 0;
}

int MethodsCommand(const std::vector<std::string>& args) {
  const Options o(args, {}, {"json"});
  const bool json = o.Has("json");
  if (json) std::cout << "[\n";
  for (const Method& m : component::Methods()) {
    char id[16];
    std::snprintf(id, sizeof id, "0x%08X", m.DispatchId());
    if (json) {
      std::cout << (m.index ? ",\n" : "") << "  {\"index\": " << m.index << ", \"dispid\": \"" << id
                << "\", \"name\": \"" << m.name << "\", \"result\": \""
                << component::TypeName(m.result) << "\", \"params\": [";
      for (std::size_t i = 0; i < m.params.size(); ++i) {
        const Param& p = m.params[i];
        std::cout << (i ? ", " : "") << "{\"name\": \"" << p.name << "\", \"type\": \""
                  << component::TypeName(p.type)
                  << "\", \"byref\": " << (p.by_ref ? "true" : "false")
                  << ", \"optional\": " << (p.optional ? "true" : "false");
        if (p.optional) {
          std::cout << ", \"default\": " << component::FormatJson(component::DefaultValue(p));
        }
        std::cout << "}";
      }
      std::cout << "]}";
      continue;
    }
    std::cout << id << ' ' << m.name << '(';
    for (std::size_t i = 0; i < m.params.size(); ++i) {
      const Param& p = m.params[i];
      std::cout << (i ? ", " : "") << (p.optional ? "Optional " : "") << (p.by_ref ? "ByRef " : "")
                << p.name << " As " << component::TypeName(p.type);
      if (p.optional && !p.default_text.empty()) std::cout << " = " << p.default_text;
    }
    std::cout << ") As " << component::TypeName(m.result) << '\n';
  }
  if (json) std::cout << "\n]\n";
  return 0;
}

}  // namespace kz8mrp::cli
