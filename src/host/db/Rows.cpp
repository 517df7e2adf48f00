#include "host/db/Rows.h"

#include <kz8mrp/Error.h>

#include "common/Text.h"
#include "host/db/Convert.h"
#include "host/db/Recordset.h"

namespace kz8mrp::db {
namespace {

void Assign(Recordset& rs, const RowValues& values) {
  for (const auto& [column, value] : values) rs.Set(column, value);
  rs.Update();
}

const Value& ValueOf(const RowValues& values, std::string_view column, std::string_view table) {
  for (const auto& [name, value] : values) {
    if (text::EqualsNoCase(name, column)) return value;
  }
  throw Error(errc::kInvalidArgument,
              "the row for " + std::string(table) + " lacks key column " + std::string(column));
}

}  // namespace

void InsertRow(Connection& connection, std::string_view table, const RowValues& values) {
  Recordset rs(connection, "SELECT * FROM " + std::string(table) + " WHERE 1=0",
               LockType::Optimistic);
  rs.AddNew();
  Assign(rs, values);
}

void WriteRow(Connection& connection, std::string_view table, const RowValues& values) {
  const TableInfo& info = connection.Table(std::string(table));
  if (info.primary_key.empty()) {
    InsertRow(connection, table, values);
    return;
  }
  std::string where;
  std::vector<Value> params;
  for (const std::string& key : info.primary_key) {
    // Converted as the insert converts it, so "2027-01-01" finds the stored
    // "2027-01-01 00:00:00".
    params.push_back(ConvertForColumn(ValueOf(values, key, table), *info.Find(key)));
    where += (where.empty() ? "" : " AND ") + key + "=" +
             connection.backend().Placeholder(static_cast<int>(params.size()));
  }
  connection.Execute("DELETE FROM " + info.name + " WHERE " + where, params);
  InsertRow(connection, table, values);
}

}  // namespace kz8mrp::db
