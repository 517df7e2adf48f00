// A database connection as the methods use it: action statements, recordsets,
// and a transaction bracket that nests through savepoints.
#pragma once

#include "host/db/Backend.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kz8mrp::db {

class Snapshot;

class Connection {
 public:
  // A file path or "sqlite:PATH" opens SQLite; "postgresql://..." or
  // "host=... dbname=..." opens PostgreSQL.
  static std::unique_ptr<Connection> Open(const std::string& connection_string,
                                          OpenMode mode = OpenMode::Existing);
  Connection(std::unique_ptr<Backend> backend, std::string connection_string);
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  ~Connection();

  Kind kind() const { return backend_->kind(); }
  std::string KindName() const { return db::KindName(kind()); }
  const std::string& ConnectionString() const { return connection_string_; }

  // An action statement (UPDATE, DELETE, INSERT, DDL).
  std::int64_t Execute(const std::string& sql, const std::vector<Value>& params = {});
  // A change whose count is not wanted: while a ChangeBatch is open it may
  // wait for the next statement that needs an answer.
  void Change(const std::string& sql, const std::vector<Value>& params = {});
  ResultSet Query(const std::string& sql, const std::vector<Value>& params = {});
  // A query whose rows are read as they are walked (see Snapshot).
  std::unique_ptr<Cursor> OpenCursor(const std::string& sql, const std::vector<Value>& params = {});
  std::vector<std::unique_ptr<Cursor>> OpenCursors(const std::vector<std::string>& sqls);
  // Snapshots with rows still in their cursors, told to read them before a change.
  void Attach(Snapshot& snapshot) { open_.push_back(&snapshot); }
  void Detach(Snapshot& snapshot);

  // A document counter raised inside a transaction keeps its row locked to the
  // end of that transaction, so later numbers may be counted here and the row
  // written once before the next transaction control, not once per number: a
  // long run of numbers in one transaction would otherwise leave a row version
  // per number for the next raise to step over on PostgreSQL.
  struct HeldCounter {
    long long last = 0;
    bool unsaved = false;
    std::function<void(Connection&, long long last)> save;
  };
  // The counter held under `key` in the open transaction, or nullptr.
  HeldCounter* Held(const std::string& key);
  // Holds a counter just raised on its row; outside a transaction it is not held.
  void Hold(const std::string& key, long long last,
            std::function<void(Connection&, long long last)> save);

  void BeginTrans();
  void CommitTrans();
  void RollbackTrans();
  int TransactionDepth() const { return depth_; }

  // Catalog facts of a table, read once per connection. Throws for a missing table.
  const TableInfo& Table(const std::string& name);
  // Forget cached catalog facts (after the schema changed).
  void ForgetTables() { tables_.clear(); }

  Backend& backend() { return *backend_; }

 private:
  friend class ChangeBatch;
  void Sent(const std::string& sql, const std::vector<Value>& params) const;
  // Transaction control, counted like every other statement.
  void Control(const std::string& sql);
  // Before a change: the open snapshots that could see it read the rest of
  // their rows; before transaction control every one does (a cursor may not
  // outlive its transaction).
  void SettleSnapshots(bool all);
  void SaveHeldCounters();

  std::unique_ptr<Backend> backend_;
  std::string connection_string_;
  int depth_ = 0;
  int batches_ = 0;                          // ChangeBatches open
  std::map<std::string, TableInfo> tables_;  // key: lower-case name
  std::vector<Snapshot*> open_;
  std::map<std::string, HeldCounter> held_;
};

// Rolls back in its destructor unless committed; never throws from there.
class Transaction {
 public:
  explicit Transaction(Connection& connection);
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  ~Transaction();
  void Commit();

 private:
  Connection& connection_;
  bool done_ = false;
};

// While open, the connection's changes travel to a database server with its
// next read instead of one round trip each: a job of a thousand lines writes
// its rows at the cost of its reads. A held change that fails is reported by
// the statement it travelled with, or by Send at the latest; the changes made
// before it stay done, those after it are not made. Close it with Send; a batch
// left by an exception still sends what it holds, without reporting.
class ChangeBatch {
 public:
  explicit ChangeBatch(Connection& connection) : connection_(connection) { ++connection_.batches_; }
  ChangeBatch(const ChangeBatch&) = delete;
  ChangeBatch& operator=(const ChangeBatch&) = delete;
  ~ChangeBatch();
  void Send();

 private:
  Connection& connection_;
  bool open_ = true;
};

// Every statement sent through a Connection (transaction control and catalog
// reads included) is counted process-wide; benchmarks report what a method costs.
std::uint64_t StatementsSent();

// Every row a Connection's queries and recordsets read from the database,
// counted process-wide: what is never walked is never read.
std::uint64_t RowsRead();
void NoteRowsRead(std::uint64_t rows);

// Sees each statement a Connection sends, with its parameters (catalog reads
// excepted). Benchmarks replay what a method sent; an empty tap removes it.
// Install it only while no other thread works on a database.
using StatementTap = std::function<void(const Connection& connection, const std::string& sql,
                                        const std::vector<Value>& params)>;
void SetStatementTap(StatementTap tap);

}  // namespace kz8mrp::db
