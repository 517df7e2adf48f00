// Writing whole rows by column name: what loaders (the demo plant, test
// fixtures) need. Values are converted to the columns' types as every writer's are.
#pragma once

#include "host/db/Connection.h"

#include <string_view>
#include <utility>
#include <vector>

namespace kz8mrp::db {

using RowValues = std::vector<std::pair<std::string_view, Value>>;

// Adds the row.
void InsertRow(Connection& connection, std::string_view table, const RowValues& values);
// Replaces the row with the same primary key (columns not given become null), or adds it.
void WriteRow(Connection& connection, std::string_view table, const RowValues& values);

}  // namespace kz8mrp::db
