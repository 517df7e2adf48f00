// JSON output of the command line.
#pragma once

#include "component/MethodTable.h"

#include <nlohmann/json.hpp>

namespace kz8mrp::cli {

// Keys stay in the order they are written.
using Json = nlohmann::ordered_json;

// A parameter or result value: texts and dates ("YYYY-MM-DD HH:MM:SS") as
// strings, numbers, true/false, null for none.
Json ToJson(const component::Variant& value);

// Writes one JSON document on a line of standard output.
void PrintJson(const Json& document);

}  // namespace kz8mrp::cli
