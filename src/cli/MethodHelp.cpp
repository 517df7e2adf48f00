#include "cli/MethodHelp.h"

#include "cli/Suggest.h"
#include "cli/Usage.h"
#include "common/Text.h"

#include <cstdio>

namespace kz8mrp::cli {
namespace {

using component::Method;
using component::Param;
using component::Type;

std::vector<std::string> MethodNames() {
  std::vector<std::string> names;
  for (const Method& m : component::Methods()) names.push_back(m.name);
  return names;
}

std::string PadTo(const std::string& s, std::size_t width) {
  const std::size_t w = text::DisplayWidth(s);
  return s + std::string(w < width ? width - w + 2 : 2, ' ');
}

std::string TransactionNote(const Method& m) {
  if (RunsInCallersTransaction(m)) {
    return "Runs in the caller's transaction: yes. kz8mrp call opens one for it, commits it\n"
           "when the method returns and rolls it back when the method fails or returns no\n"
           "document number.\n";
  }
  if (component::FindMethod(m.name + "TR")) {
    return "Runs in the caller's transaction: no. It opens and closes its own around\n" + m.name +
           "TR, which runs in the caller's.\n";
  }
  return "Runs in the caller's transaction: no. It reads, or writes single statements.\n";
}

std::string TypeText(const Param& p) {
  const std::string type(component::TypeName(p.type));
  return p.type == Type::HourType ? "KZ8HourType" : type;
}

std::string NoteOf(const Param& p) {
  std::string note;
  if (p.by_ref) note = "by reference: its value after the call is in --json's \"byref\"";
  if (p.type == Type::HourType) {
    note += note.empty() ? "" : "; ";
    note += "a number or a member name:";
    for (const auto& member : component::HourTypeMembers()) {
      note += std::string(" ") + member.name + "=" + std::to_string(member.value);
    }
  }
  return note;
}

std::string DefaultText(const Param& p) {
  if (!p.optional) return "(required)";
  const std::string shown = component::FormatValue(component::DefaultValue(p));
  return p.type == Type::String ? "\"" + shown + "\"" : shown;
}

}  // namespace

bool RunsInCallersTransaction(const Method& m) {
  return m.name.size() > 2 && m.name.compare(m.name.size() - 2, 2, "TR") == 0;
}

const Method& MethodNamed(const std::string& name) {
  const Method* m = component::FindMethod(name);
  if (!m) {
    throw UsageError("unknown method: " + name + DidYouMean(name, MethodNames()) +
                     " (kz8mrp methods lists them)");
  }
  return *m;
}

std::size_t ParamIndex(const Method& m, const std::string& name) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < m.params.size(); ++i) {
    if (component::IsSession(m.params[i].type)) continue;
    if (text::EqualsNoCase(m.params[i].name, name)) return i;
    names.push_back(m.params[i].name);
  }
  throw UsageError(m.name + " has no parameter " + name + DidYouMean(name, names) +
                   " (kz8mrp help " + m.name + " lists them)");
}

std::string Declaration(const Method& m) {
  char id[16];
  std::snprintf(id, sizeof id, "0x%08X", m.DispatchId());
  std::string line = std::string(id) + ' ' + m.name + '(';
  for (std::size_t i = 0; i < m.params.size(); ++i) {
    const Param& p = m.params[i];
    line += std::string(i ? ", " : "") + (p.optional ? "Optional " : "") +
            (p.by_ref ? "ByRef " : "") + p.name + " As " + std::string(TypeName(p.type));
    if (p.optional && !p.default_text.empty()) line += " = " + p.default_text;
  }
  return line + ") As " + std::string(TypeName(m.result));
}

std::string MethodHelp(const Method& m) {
  std::string usage = "kz8mrp call --db DB [options] " + m.name;
  for (const Param& p : m.params) {
    if (component::IsSession(p.type)) continue;
    usage += p.optional ? " [" + p.name + "=...]" : " " + p.name + "=...";
  }
  std::string out = usage + "\n\nReturns " + std::string(TypeName(m.result)) + ". " +
                    TransactionNote(m) + "\nParameters (names in any letter case):\n";
  std::size_t name_width = 4;
  for (const Param& p : m.params) name_width = std::max(name_width, p.name.size());
  for (const Param& p : m.params) {
    if (component::IsSession(p.type)) continue;
    std::string line = "  " + PadTo(p.name, name_width) + PadTo(TypeText(p), 11) +
                       PadTo(DefaultText(p), 10) + NoteOf(p);
    while (line.back() == ' ') line.pop_back();
    out += line + '\n';
  }
  return out +
         "The session objects (DataObj, AppObj, ClientObj) come from --db, --user,\n"
         "--user-code, --branch and --english.\n";
}

}  // namespace kz8mrp::cli
