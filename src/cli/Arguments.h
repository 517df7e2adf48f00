// The NAME=VALUE words of "kz8mrp call", read into the method's typed slots.
#pragma once

#include "component/MethodTable.h"

#include <string>
#include <vector>

namespace kz8mrp::cli {

// One slot per parameter: the given values, the defaults of omitted optional
// ones, nothing for the session objects. A word that names no parameter or
// names one twice, a value that cannot be read and an omitted required
// parameter are usage errors.
std::vector<component::Variant> ReadArguments(const component::Method& method,
                                              const std::vector<std::string>& words);

}  // namespace kz8mrp::cli
