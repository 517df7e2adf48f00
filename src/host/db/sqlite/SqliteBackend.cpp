#include "host/db/sqlite/SqliteBackend.h"
#include "host/db/sqlite/SqliteError.h"

#include <kz8mrp/Error.h>

#include "common/Text.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>

namespace kz8mrp::db::sqlite {
namespace {

struct StatementDeleter {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

Statement Prepare(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  const int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &raw, &tail);
  Statement stmt(raw);
  if (rc != SQLITE_OK) Fail(db, rc, sql);
  if (!stmt) throw Error(errc::kInvalidArgument, "empty statement", "", sql);
  if (tail && !text::Trim(std::string_view(tail)).empty() &&
      text::Trim(std::string_view(tail)) != ";") {
    throw Error(errc::kInvalidArgument, "one statement expected", "", sql);
  }
  return stmt;
}

void Bind(sqlite3* db, sqlite3_stmt* stmt, const std::vector<Value>& params,
          const std::string& sql) {
  for (std::size_t i = 0; i < params.size(); ++i) {
    const int at = static_cast<int>(i + 1);
    const Value& v = params[i];
    int rc = SQLITE_OK;
    switch (v.kind()) {
      case Value::Kind::Null:
        rc = sqlite3_bind_null(stmt, at);
        break;
      case Value::Kind::Number: {
        const double n = v.number();
        rc = std::trunc(n) == n && std::fabs(n) < 9.0e15
                 ? sqlite3_bind_int64(stmt, at, static_cast<sqlite3_int64>(n))
                 : sqlite3_bind_double(stmt, at, n);
        break;
      }
      case Value::Kind::Text:
        rc = sqlite3_bind_text(stmt, at, v.text().data(), static_cast<int>(v.text().size()),
                               SQLITE_TRANSIENT);
        break;
      case Value::Kind::Date: {
        const std::string t = v.date().ToString();
        rc = sqlite3_bind_text(stmt, at, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
        break;
      }
    }
    if (rc != SQLITE_OK) Fail(db, rc, sql);
  }
}

// Asked for every column of every result: no copy of the declared type.
bool ContainsNoCase(std::string_view text, std::string_view part) {
  for (std::size_t i = 0; i + part.size() <= text.size(); ++i) {
    if (text::EqualsNoCase(text.substr(i, part.size()), part)) return true;
  }
  return false;
}

bool IsDateType(const char* decltype_text) {
  if (!decltype_text) return false;
  return ContainsNoCase(decltype_text, "DATE") || ContainsNoCase(decltype_text, "TIME");
}

Value ReadColumn(sqlite3_stmt* stmt, int i, bool date_column) {
  switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_NULL:
      return {};
    case SQLITE_INTEGER:
      return Value(static_cast<double>(sqlite3_column_int64(stmt, i)));
    case SQLITE_FLOAT:
      return Value(sqlite3_column_double(stmt, i));
    default: {
      const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
      std::string t(p ? p : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, i)));
      OleDate d;
      if (date_column && OleDate::TryParse(t, d)) return Value(d);
      return Value(std::move(t));
    }
  }
}

ColumnType TypeOf(const std::string& declared) {
  const std::string t = text::ToUpper(declared);
  if (t.find("DATE") != std::string::npos || t.find("TIME") != std::string::npos) {
    return ColumnType::Date;
  }
  if (t.find("INT") != std::string::npos) return ColumnType::Integer;
  if (t.find("CHAR") != std::string::npos || t.find("TEXT") != std::string::npos ||
      t.find("CLOB") != std::string::npos || t.empty()) {
    return ColumnType::Text;
  }
  return ColumnType::Real;
}

}  // namespace

void SqliteBackend::Closer::operator()(sqlite3* db) const { sqlite3_close_v2(db); }

std::string SqliteBackend::Placeholder(int index) const { return "?" + std::to_string(index); }

ResultSet SqliteBackend::Query(const std::string& sql, const std::vector<Value>& params) {
  sqlite3* db = db_.get();
  Statement stmt = Prepare(db, sql);
  Bind(db, stmt.get(), params, sql);
  ResultSet result;
  const int n = sqlite3_column_count(stmt.get());
  std::vector<bool> date_column(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    result.columns.emplace_back(sqlite3_column_name(stmt.get(), i));
    date_column[static_cast<std::size_t>(i)] = IsDateType(sqlite3_column_decltype(stmt.get(), i));
  }
  for (;;) {
    const int rc = sqlite3_step(stmt.get());
    if (rc == SQLITE_DONE) break;
    if (rc != SQLITE_ROW) Fail(db, rc, sql);
    std::vector<Value> row;
    row.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
      row.push_back(ReadColumn(stmt.get(), i, date_column[static_cast<std::size_t>(i)]));
    }
    result.rows.push_back(std::move(row));
  }
  return result;
}

std::int64_t SqliteBackend::Execute(const std::string& sql, const std::vector<Value>& params) {
  sqlite3* db = db_.get();
  Statement stmt = Prepare(db, sql);
  Bind(db, stmt.get(), params, sql);
  int rc = SQLITE_ROW;
  while (rc == SQLITE_ROW) rc = sqlite3_step(stmt.get());
  if (rc != SQLITE_DONE) Fail(db, rc, sql);
  return sqlite3_changes64(db);
}

void SqliteBackend::ExecuteScript(const std::string& sql) {
  char* message = nullptr;
  const int rc = sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, &message);
  if (message) sqlite3_free(message);
  if (rc != SQLITE_OK) Fail(db_.get(), rc, sql);
}

bool SqliteBackend::InTransaction() const { return sqlite3_get_autocommit(db_.get()) == 0; }

TableInfo SqliteBackend::DescribeTable(const std::string& table) {
  TableInfo info;
  info.name = table;
  const ResultSet rs =
      Query("SELECT name, type, pk FROM pragma_table_info(?1) ORDER BY cid", {Value(table)});
  std::vector<std::pair<int, std::string>> key;
  for (const auto& row : rs.rows) {
    info.columns.push_back({row[0].AsText(), TypeOf(row[1].AsText())});
    if (const int pk = static_cast<int>(row[2].AsNumber()); pk > 0) {
      key.emplace_back(pk, row[0].AsText());
    }
  }
  std::sort(key.begin(), key.end());
  for (auto& [order, name] : key) info.primary_key.push_back(std::move(name));
  return info;
}

}  // namespace kz8mrp::db::sqlite
