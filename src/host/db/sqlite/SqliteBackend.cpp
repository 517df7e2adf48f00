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

// A statement stepped as its rows are walked. It sees what its own connection
// changes meanwhile, so the layer reads its rest before any change.
class SqliteCursor final : public Cursor {
 public:
  SqliteCursor(sqlite3* db, const std::string& sql, const std::vector<Value>& params)
      : db_(db), sql_(sql), stmt_(Prepare(db, sql)) {
    Bind(db, stmt_.get(), params, sql);
    const int n = sqlite3_column_count(stmt_.get());
    for (int i = 0; i < n; ++i) {
      columns_.emplace_back(sqlite3_column_name(stmt_.get(), i));
      date_column_.push_back(IsDateType(sqlite3_column_decltype(stmt_.get(), i)));
    }
  }

  const std::vector<std::string>& Columns() const override { return columns_; }
  bool Insensitive() const override { return false; }

  bool Next(std::vector<Value>& row) override {
    if (!stmt_) return false;
    const int rc = sqlite3_step(stmt_.get());
    if (rc == SQLITE_DONE) {
      stmt_.reset();  // ends the statement's read at once
      return false;
    }
    if (rc != SQLITE_ROW) Fail(db_, rc, sql_);
    row.clear();
    row.reserve(columns_.size());
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      row.push_back(ReadColumn(stmt_.get(), static_cast<int>(i), date_column_[i]));
    }
    return true;
  }

 private:
  sqlite3* db_;
  std::string sql_;
  Statement stmt_;
  std::vector<std::string> columns_;
  std::vector<bool> date_column_;
};

}  // namespace

void SqliteBackend::Closer::operator()(sqlite3* db) const { sqlite3_close_v2(db); }

void SqliteBackend::Finalizer::operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }

sqlite3_stmt* SqliteBackend::PreparedChange(const std::string& sql) {
  // Texts with their values written in would fill the map: a bound is kept.
  constexpr std::size_t kMostKept = 64;
  if (const auto it = changes_.find(sql); it != changes_.end()) {
    sqlite3_reset(it->second.get());
    sqlite3_clear_bindings(it->second.get());
    return it->second.get();
  }
  if (changes_.size() >= kMostKept) changes_.clear();
  Statement fresh = Prepare(db_.get(), sql);
  return changes_.emplace(sql, fresh.release()).first->second.get();
}

std::string SqliteBackend::Placeholder(int index) const { return "?" + std::to_string(index); }

ResultSet SqliteBackend::Query(const std::string& sql, const std::vector<Value>& params) {
  SqliteCursor cursor(db_.get(), sql, params);
  ResultSet result;
  result.columns = cursor.Columns();
  std::vector<Value> row;
  while (cursor.Next(row)) result.rows.push_back(std::move(row));
  return result;
}

// Outside a transaction a statement left open would hold the connection's
// read back at its start for every later read: the rows are read at once.
std::unique_ptr<Cursor> SqliteBackend::OpenCursor(const std::string& sql,
                                                  const std::vector<Value>& params) {
  if (!InTransaction()) return Backend::OpenCursor(sql, params);
  return std::make_unique<SqliteCursor>(db_.get(), sql, params);
}

std::int64_t SqliteBackend::Execute(const std::string& sql, const std::vector<Value>& params) {
  sqlite3* db = db_.get();
  Statement once;
  sqlite3_stmt* stmt = nullptr;
  if (params.empty()) {
    once = Prepare(db, sql);
    stmt = once.get();
  } else {
    stmt = PreparedChange(sql);
  }
  // A kept statement lets go of what it read before it waits for its next use,
  // after a failure's message is taken.
  const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_reset)> reset_later(once ? nullptr : stmt,
                                                                            &sqlite3_reset);
  Bind(db, stmt, params, sql);
  int rc = SQLITE_ROW;
  while (rc == SQLITE_ROW) rc = sqlite3_step(stmt);
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
