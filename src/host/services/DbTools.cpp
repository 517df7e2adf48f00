#include "host/services/DbTools.h"

#include <kz8mrp/Error.h>
#include <kz8mrp/Session.h>

#include "common/Text.h"
#include "host/Sql.h"
#include "host/db/Connection.h"
#include "host/db/Pool.h"
#include "host/services/ConvertTools.h"

#include <regex>

namespace kz8mrp::host {
namespace {

// "ORDER BY a,b" of the table's primary key, so the first of several matches
// is the same row on every database.
std::string KeyOrder(db::Connection& connection, std::string_view table) {
  const db::TableInfo& info = connection.Table(std::string(table));
  if (info.primary_key.empty()) return {};
  return " ORDER BY " + text::Join(info.primary_key, ",");
}

db::Value FirstValue(db::Connection& connection, std::string_view column, const std::string& sql) {
  const db::ResultSet rs = connection.Query(sql);
  if (rs.rows.empty()) return {};
  for (std::size_t i = 0; i < rs.columns.size(); ++i) {
    if (text::EqualsNoCase(rs.columns[i], column)) return rs.rows.front()[i];
  }
  throw Error(errc::kItemNotFound,
              "Item cannot be found in the collection: column " + std::string(column), "", sql);
}

db::Value Lookup(db::Connection& connection, std::string_view key_column,
                 std::string_view key_value, std::string_view result_column,
                 std::string_view table) {
  sql::RequireIdentifier(key_column);
  sql::RequireIdentifier(result_column);
  sql::RequireIdentifier(table);
  const std::string query = "SELECT " + std::string(result_column) + " FROM " + std::string(table) +
                            " WHERE " + std::string(key_column) + "=" + sql::Text(key_value) +
                            KeyOrder(connection, table);
  return FirstValue(connection, result_column, query);
}

double AsNumber(const db::Value& v) { return ConvertTools().ToDouble(v.AsText()); }

std::string CountQuery(std::string_view column, const std::string& table_and_condition) {
  static const std::regex kEndsInOrderBy(R"(\border\s+by\s+[^']*$)", std::regex::icase);
  if (std::regex_search(table_and_condition, kEndsInOrderBy)) {
    const std::string shown = column.empty() ? "*" : std::string(column);
    return "SELECT COUNT(*) FROM (SELECT " + shown + " FROM " + table_and_condition + ") t";
  }
  return "SELECT COUNT(*) FROM " + table_and_condition;
}

std::string CellText(const db::Value& v, std::string_view format) {
  if (v.kind() == db::Value::Kind::Date && format == "6") return v.date().DateText();
  return v.AsText();
}

}  // namespace

std::string DbTools::ConvertSQL(std::string_view sql, std::string_view /*kind*/) const {
  // Both kinds take the same quoted literal "YYYY-MM-DD HH:MM:SS": SQLite
  // compares it as text, PostgreSQL casts it to the timestamp it meets.
  return sql::ConvertDateMarkers(sql);
}

std::string DbTools::LookupText(std::string_view key_column, std::string_view key_value,
                                std::string_view result_column, std::string_view table,
                                db::Connection& connection) const {
  return Lookup(connection, key_column, key_value, result_column, table).AsText();
}

std::string DbTools::LookupTextStr(std::string_view key_column, std::string_view key_value,
                                   std::string_view result_column, std::string_view table,
                                   const std::string& connection_string) const {
  db::PooledConnection connection(connection_string);
  return LookupText(key_column, key_value, result_column, table, *connection);
}

double DbTools::LookupNumber(std::string_view key_column, std::string_view key_value,
                             std::string_view result_column, std::string_view table,
                             db::Connection& connection) const {
  return AsNumber(Lookup(connection, key_column, key_value, result_column, table));
}

double DbTools::LookupNumberStr(std::string_view key_column, std::string_view key_value,
                                std::string_view result_column, std::string_view table,
                                const std::string& connection_string) const {
  db::PooledConnection connection(connection_string);
  return LookupNumber(key_column, key_value, result_column, table, *connection);
}

std::string DbTools::QueryText(std::string_view column, const std::string& sql,
                               db::Connection& connection) const {
  return FirstValue(connection, column, sql).AsText();
}

double DbTools::QueryNumber(std::string_view column, const std::string& sql,
                            db::Connection& connection) const {
  return AsNumber(FirstValue(connection, column, sql));
}

double DbTools::QueryNumberStr(std::string_view column, const std::string& sql,
                               const std::string& connection_string) const {
  db::PooledConnection connection(connection_string);
  return QueryNumber(column, sql, *connection);
}

std::string DbTools::FieldText(std::string_view column, const std::string& sql,
                               const std::string& connection_string) const {
  db::PooledConnection connection(connection_string);
  return QueryText(column, sql, *connection);
}

std::int64_t DbTools::Count(std::string_view column, const std::string& table_and_condition,
                            const std::string& connection_string) const {
  db::PooledConnection connection(connection_string);
  const db::ResultSet rs = connection->Query(CountQuery(column, table_and_condition));
  return rs.rows.empty() ? 0 : static_cast<std::int64_t>(rs.rows.front().front().AsNumber());
}

std::string DbTools::PickList(const PickListRequest& request, const std::string& connection_string,
                              const AppObj& app) const {
  db::PooledConnection connection(connection_string);
  const db::ResultSet rs = connection->Query("SELECT * FROM " + request.rows);
  const auto column_of = [&](std::string_view name) {
    for (std::size_t i = 0; i < rs.columns.size(); ++i) {
      if (text::EqualsNoCase(rs.columns[i], name)) return i;
    }
    throw Error(errc::kItemNotFound,
                "pick list column " + std::string(name) + " is not in " + request.rows);
  };

  kz8mrp::PickList list;
  list.title = request.title;
  list.multi_select = request.multi_select;
  list.captions = text::Split(request.captions, ',');
  for (const std::string& w : text::Split(request.widths, ',')) {
    double n = 0;
    list.widths.push_back(text::ParseNumber(w, n) ? static_cast<int>(n) : 0);
  }
  std::vector<std::size_t> shown;
  for (const std::string& c : text::Split(request.columns, ',')) {
    if (text::Trim(c).empty()) continue;
    list.columns.emplace_back(text::Trim(c));
    shown.push_back(column_of(text::Trim(c)));
  }
  const std::vector<std::string> formats = text::Split(request.formats, ',');
  for (const auto& row : rs.rows) {
    std::vector<std::string> cells;
    for (std::size_t k = 0; k < shown.size(); ++k) {
      cells.push_back(CellText(row[shown[k]], k < formats.size() ? formats[k] : ""));
    }
    list.rows.push_back(std::move(cells));
  }

  std::vector<std::size_t> returned;
  for (const std::string& c : text::Split(request.return_columns, ';')) {
    returned.push_back(column_of(text::Trim(c)));
  }
  std::vector<std::string> picked_rows;
  for (const std::size_t r : app.ShowPickList(list)) {
    if (r >= rs.rows.size()) continue;
    std::vector<std::string> values;
    values.reserve(returned.size());
    for (const std::size_t c : returned) values.push_back(rs.rows[r][c].AsText());
    picked_rows.push_back(text::Join(values, ";"));
    if (!request.multi_select) break;
  }
  return text::Join(picked_rows, ",");
}

}  // namespace kz8mrp::host
