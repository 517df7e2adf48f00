#pragma once

#include "host/db/Backend.h"

#include <memory>
#include <string>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace kz8mrp::db::sqlite {

// Every writing session: readers go on while a planner writes, a commit waits
// for the log only, and a large job's rows and indexes stay in memory while it
// is totalled and booked (the default cache of 2 MB holds a few hundred lines).
inline constexpr const char* kSessionPragmas =
    "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA cache_size=-65536";

// The file a connection string "[sqlite:]PATH[?wait=SECONDS]" names.
std::string FilePathOf(const std::string& connection_string);

// One SQLite connection in WAL mode with a busy timeout, so that a second
// connection reads the last committed data while a transaction is open. A file
// this user cannot write is opened for reading only.
class SqliteBackend final : public Backend {
 public:
  // "[sqlite:]PATH[?wait=SECONDS]"; a change waits 30 seconds for the lock unless told.
  SqliteBackend(const std::string& connection_string, OpenMode mode);

  Kind kind() const override { return Kind::SQLite; }
  ResultSet Query(const std::string& sql, const std::vector<Value>& params) override;
  std::unique_ptr<Cursor> OpenCursor(const std::string& sql,
                                     const std::vector<Value>& params) override;
  std::int64_t Execute(const std::string& sql, const std::vector<Value>& params) override;
  void ExecuteScript(const std::string& sql) override;
  TableInfo DescribeTable(const std::string& table) override;
  bool InTransaction() const override;

  std::string Placeholder(int index) const override;
  std::string BeginStatement() const override { return "BEGIN IMMEDIATE"; }

 private:
  void RequirePlant(const std::string& path);

  // A prepared change sent again with other values (every row a recordset
  // writes to one table) is prepared once: reset, bound again and run.
  sqlite3_stmt* PreparedChange(const std::string& sql);

  struct Closer {
    void operator()(sqlite3* db) const;
  };
  struct Finalizer {
    void operator()(sqlite3_stmt* stmt) const;
  };
  std::unique_ptr<sqlite3, Closer> db_;
  // Declared after the connection: finalized before it closes.
  std::unordered_map<std::string, std::unique_ptr<sqlite3_stmt, Finalizer>> changes_;
};

}  // namespace kz8mrp::db::sqlite
