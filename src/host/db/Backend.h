// The seam between the database layer and one database product. A backend is
// one open connection; everything the methods need of it is here, and the few
// dialect differences are gathered at the end.
#pragma once

#include "common/Text.h"
#include "host/db/Value.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kz8mrp::db {

enum class Kind { SQLite, PostgreSQL };

// "SQLITE" or "POSTGRESQL", the names the methods pass to ConvertSQL.
std::string KindName(Kind kind);

enum class ColumnType { Text, Integer, Real, Date };

struct ColumnInfo {
  std::string name;  // as the catalog gives it
  ColumnType type;
};

struct TableInfo {
  std::string name;
  std::vector<ColumnInfo> columns;
  std::vector<std::string> primary_key;
  bool exists() const { return !columns.empty(); }
  const ColumnInfo* Find(std::string_view column) const;  // case-insensitive
  // The place of a column among `columns` (case-insensitive), or npos.
  std::size_t IndexOf(std::string_view column) const;
  // Makes Find a lookup instead of a walk (a written row asks for every
  // column) and keeps the names in order, as a query of whole rows shows them.
  void IndexColumns();
  const std::vector<std::string>& Names() const { return names_; }

 private:
  std::unordered_map<std::string, std::size_t, text::NoCaseHash, text::NoCaseEqual> by_name_;
  std::vector<std::string> names_;
};

// A whole result, read at once: a snapshot, as a static cursor gives.
struct ResultSet {
  std::vector<std::string> columns;
  std::vector<std::vector<Value>> rows;
};

// The rows of one query, read one at a time as they are walked.
class Cursor {
 public:
  Cursor() = default;
  Cursor(const Cursor&) = delete;
  Cursor& operator=(const Cursor&) = delete;
  Cursor(Cursor&&) = delete;
  Cursor& operator=(Cursor&&) = delete;
  virtual ~Cursor() = default;

  virtual const std::vector<std::string>& Columns() const = 0;
  // Reads the next row into `row`; false once there is none.
  virtual bool Next(std::vector<Value>& row) = 0;
  // True when what the connection changes after the cursor opened never shows
  // in the rows it has still to give.
  virtual bool Insensitive() const = 0;
};

// A whole result already read, handed out as a cursor.
class ResultCursor final : public Cursor {
 public:
  explicit ResultCursor(ResultSet result) : result_(std::move(result)) {}
  const std::vector<std::string>& Columns() const override { return result_.columns; }
  bool Next(std::vector<Value>& row) override;
  bool Insensitive() const override { return true; }

 private:
  ResultSet result_;
  std::size_t next_ = 0;
};

class Backend {
 public:
  Backend() = default;
  Backend(const Backend&) = delete;
  Backend& operator=(const Backend&) = delete;
  Backend(Backend&&) = delete;
  Backend& operator=(Backend&&) = delete;
  virtual ~Backend() = default;

  virtual Kind kind() const = 0;
  virtual ResultSet Query(const std::string& sql, const std::vector<Value>& params) = 0;
  // A query whose rows are read as they are walked; by default all at once.
  virtual std::unique_ptr<Cursor> OpenCursor(const std::string& sql,
                                             const std::vector<Value>& params) {
    return std::make_unique<ResultCursor>(Query(sql, params));
  }
  // Queries that do not depend on one another, opened in the order given; a
  // backend may send them all at once.
  virtual std::vector<std::unique_ptr<Cursor>> OpenCursors(const std::vector<std::string>& sqls) {
    std::vector<std::unique_ptr<Cursor>> cursors;
    cursors.reserve(sqls.size());
    for (const std::string& sql : sqls) cursors.push_back(OpenCursor(sql, {}));
    return cursors;
  }
  // Runs one statement; returns the number of rows it changed.
  virtual std::int64_t Execute(const std::string& sql, const std::vector<Value>& params) = 0;
  // A change whose count nobody reads, made while a ChangeBatch is open: a
  // backend may hold it back and send it with the next statement that needs
  // the server's answer. SendHeld sends what is held and throws its failure.
  virtual void ExecuteLater(const std::string& sql, const std::vector<Value>& params) {
    Execute(sql, params);
  }
  virtual void SendHeld() {}
  // Runs several statements separated by ';' (schema scripts).
  virtual void ExecuteScript(const std::string& sql) = 0;
  // Columns and primary key from the catalog; no columns when the table is missing.
  virtual TableInfo DescribeTable(const std::string& table) = 0;
  // False once the connection is known to be broken (the pool drops it).
  virtual bool Healthy() const { return true; }
  // True while the server holds an open transaction for this connection.
  virtual bool InTransaction() const = 0;
  // Transaction control (BEGIN, COMMIT, SAVEPOINT ...), sent exactly as given.
  virtual void Control(const std::string& sql) { Execute(sql, {}); }

  // Dialect.
  virtual std::string Placeholder(int index) const = 0;  // 1-based
  virtual std::string BeginStatement() const = 0;
};

// Existing: the database must already hold a plant (its system settings
// table); a missing SQLite file, an empty file or another program's database is
// refused before anything is written to it. Create: whatever the connection
// names (a new SQLite file is made when missing), for `init` and for server
// administration.
enum class OpenMode { Existing, Create };

// The table every plant holds, from its first `init` on.
inline constexpr const char* kPlantTable = "KZ8TSetting";

// Why a planner's change waited for the lock and gave up.
inline constexpr const char* kPlantBusy =
    "another planner's work holds the plant; try again when it is done";

// Opens the backend a connection string names (SQLite file or PostgreSQL server).
std::unique_ptr<Backend> OpenBackend(const std::string& connection_string,
                                     OpenMode mode = OpenMode::Existing);

}  // namespace kz8mrp::db
