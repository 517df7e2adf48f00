#include "cli/Arguments.h"

#include <kz8mrp/Error.h>

#include "cli/MethodHelp.h"
#include "cli/Usage.h"

namespace kz8mrp::cli {
namespace {

using component::Method;
using component::Param;
using component::Variant;

Variant ReadArgument(const Param& p, const std::string& value) {
  try {
    return component::ParseValue(p.type, value);
  } catch (const Error& e) {
    throw UsageError("parameter " + p.name + ": " + e.what());
  }
}

}  // namespace

std::vector<Variant> ReadArguments(const Method& m, const std::vector<std::string>& words) {
  std::vector<Variant> slots(m.params.size());
  std::vector<bool> given(m.params.size(), false);
  for (const std::string& word : words) {
    const auto eq = word.find('=');
    if (eq == std::string::npos) throw UsageError("expected NAME=VALUE, got " + word);
    const std::size_t i = ParamIndex(m, word.substr(0, eq));
    if (given[i]) throw UsageError("parameter " + m.params[i].name + " given twice");
    slots[i] = ReadArgument(m.params[i], word.substr(eq + 1));
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

}  // namespace kz8mrp::cli
