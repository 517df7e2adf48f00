// What the command line tells about the engine's methods, from the method table.
#pragma once

#include "component/MethodTable.h"

#include <string>

namespace kz8mrp::cli {

// Whether the method works inside a transaction its caller holds (its name
// ends in TR).
bool RunsInCallersTransaction(const component::Method& method);

// The method of that name (any letter case); a usage error naming the nearest
// method when there is none.
const component::Method& MethodNamed(const std::string& name);

// The parameter of that name, session objects left out; a usage error naming
// the nearest parameter when there is none.
std::size_t ParamIndex(const component::Method& method, const std::string& name);

// "kz8mrp help METHOD": the call's form, whether it runs in the caller's
// transaction, and each parameter with its type and default.
std::string MethodHelp(const component::Method& method);

// One line of "kz8mrp methods": the method as the interface declares it.
std::string Declaration(const component::Method& method);

}  // namespace kz8mrp::cli
