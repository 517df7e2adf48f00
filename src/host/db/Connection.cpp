#include "host/db/Connection.h"

#include <kz8mrp/Error.h>

#include "common/Text.h"
#include "host/db/Snapshot.h"

#include <algorithm>

#include <atomic>

namespace kz8mrp::db {
namespace {
std::atomic<std::uint64_t> statements_sent{0};
std::atomic<std::uint64_t> rows_read{0};
StatementTap& Tap() {
  static StatementTap tap;
  return tap;
}
}  // namespace

std::uint64_t StatementsSent() { return statements_sent.load(std::memory_order_relaxed); }

std::uint64_t RowsRead() { return rows_read.load(std::memory_order_relaxed); }

void NoteRowsRead(std::uint64_t rows) { rows_read.fetch_add(rows, std::memory_order_relaxed); }

bool ResultCursor::Next(std::vector<Value>& row) {
  if (next_ >= result_.rows.size()) return false;
  row = std::move(result_.rows[next_++]);
  return true;
}

void SetStatementTap(StatementTap tap) { Tap() = std::move(tap); }

void Connection::Sent(const std::string& sql, const std::vector<Value>& params) const {
  statements_sent.fetch_add(1, std::memory_order_relaxed);
  if (const StatementTap& tap = Tap()) tap(*this, sql, params);
}

std::string KindName(Kind kind) { return kind == Kind::SQLite ? "SQLITE" : "POSTGRESQL"; }

const ColumnInfo* TableInfo::Find(std::string_view column) const {
  const std::size_t at = IndexOf(column);
  return at == std::string::npos ? nullptr : &columns[at];
}

std::size_t TableInfo::IndexOf(std::string_view column) const {
  if (!by_name_.empty()) {
    const auto it = by_name_.find(column);
    return it == by_name_.end() ? std::string::npos : it->second;
  }
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (text::EqualsNoCase(columns[i].name, column)) return i;
  }
  return std::string::npos;
}

void TableInfo::IndexColumns() {
  names_.clear();
  for (std::size_t i = 0; i < columns.size(); ++i) {
    by_name_.emplace(columns[i].name, i);  // the first one wins
    names_.push_back(columns[i].name);
  }
}

std::unique_ptr<Connection> Connection::Open(const std::string& connection_string, OpenMode mode) {
  return std::make_unique<Connection>(OpenBackend(connection_string, mode), connection_string);
}

Connection::Connection(std::unique_ptr<Backend> backend, std::string connection_string)
    : backend_(std::move(backend)), connection_string_(std::move(connection_string)) {}

Connection::~Connection() {
  if (depth_ > 0) {
    try {
      backend_->Control("ROLLBACK");
    } catch (...) {  // closing anyway; the server discards the transaction
    }
  }
}

std::int64_t Connection::Execute(const std::string& sql, const std::vector<Value>& params) {
  SettleSnapshots(false);
  Sent(sql, params);
  return backend_->Execute(sql, params);
}

void Connection::Change(const std::string& sql, const std::vector<Value>& params) {
  if (batches_ == 0) {
    Execute(sql, params);
    return;
  }
  SettleSnapshots(false);
  Sent(sql, params);
  backend_->ExecuteLater(sql, params);
}

ResultSet Connection::Query(const std::string& sql, const std::vector<Value>& params) {
  Sent(sql, params);
  ResultSet result = backend_->Query(sql, params);
  NoteRowsRead(result.rows.size());
  return result;
}

std::unique_ptr<Cursor> Connection::OpenCursor(const std::string& sql,
                                               const std::vector<Value>& params) {
  Sent(sql, params);
  return backend_->OpenCursor(sql, params);
}

std::vector<std::unique_ptr<Cursor>> Connection::OpenCursors(const std::vector<std::string>& sqls) {
  for (const std::string& sql : sqls) Sent(sql, {});
  return backend_->OpenCursors(sqls);
}

void Connection::Detach(Snapshot& snapshot) {
  open_.erase(std::remove(open_.begin(), open_.end(), &snapshot), open_.end());
}

void Connection::SettleSnapshots(bool all) {
  // Reading a snapshot's rest detaches it: walk a copy.
  const std::vector<Snapshot*> open = open_;
  for (Snapshot* s : open) s->Settle(all);
}

Connection::HeldCounter* Connection::Held(const std::string& key) {
  const auto it = held_.find(key);
  return it == held_.end() ? nullptr : &it->second;
}

void Connection::Hold(const std::string& key, long long last,
                      std::function<void(Connection&, long long)> save) {
  if (depth_ == 0) return;  // the row lock ended with the statement
  held_[key] = HeldCounter{last, false, std::move(save)};
}

void Connection::SaveHeldCounters() {
  for (auto& [key, counter] : held_) {
    if (!counter.unsaved) continue;
    counter.save(*this, counter.last);
    counter.unsaved = false;
  }
}

void Connection::Control(const std::string& sql) {
  // The counters' rows are written before every boundary, so a savepoint
  // returns to them as they stood. A rollback forgets them: the next raise
  // reads its row again. Saving before a rollback only matters when the
  // rollback itself fails, and must not stand in its way.
  if (sql.rfind("ROLLBACK", 0) == 0) {
    try {
      SaveHeldCounters();
    } catch (...) {  // NOLINT(bugprone-empty-catch): the rollback undoes it anyway
    }
    held_.clear();
  } else {
    SaveHeldCounters();
    if (sql == "COMMIT") held_.clear();
  }
  SettleSnapshots(true);
  Sent(sql, {});
  backend_->Control(sql);
}

namespace {
std::string SavepointName(int depth) { return "kz8mrp_sp" + std::to_string(depth); }
}  // namespace

void Connection::BeginTrans() {
  Control(depth_ == 0 ? backend_->BeginStatement() : "SAVEPOINT " + SavepointName(depth_));
  ++depth_;
}

void Connection::CommitTrans() {
  if (depth_ == 0) throw Error(errc::kInvalidArgument, "CommitTrans without BeginTrans");
  try {
    Control(depth_ == 1 ? "COMMIT" : "RELEASE SAVEPOINT " + SavepointName(depth_ - 1));
  } catch (...) {
    // A commit the server refused may still have ended the transaction.
    if (depth_ == 1 && !backend_->InTransaction()) depth_ = 0;
    throw;
  }
  --depth_;
}

void Connection::RollbackTrans() {
  if (depth_ == 0) throw Error(errc::kInvalidArgument, "RollbackTrans without BeginTrans");
  --depth_;
  if (depth_ == 0) {
    Control("ROLLBACK");
  } else {
    const std::string sp = SavepointName(depth_);
    Control("ROLLBACK TO SAVEPOINT " + sp);
    Control("RELEASE SAVEPOINT " + sp);
  }
}

const TableInfo& Connection::Table(const std::string& name) {
  const std::string key = text::ToLower(name);
  auto it = tables_.find(key);
  if (it == tables_.end()) {
    statements_sent.fetch_add(1, std::memory_order_relaxed);
    TableInfo info = backend_->DescribeTable(name);
    if (!info.exists()) {
      throw Error(errc::kInvalidArgument, "no such table: " + name);
    }
    info.IndexColumns();
    it = tables_.emplace(key, std::move(info)).first;
  }
  return it->second;
}

void ChangeBatch::Send() {
  if (!open_) return;
  open_ = false;
  --connection_.batches_;
  connection_.backend_->SendHeld();
}

ChangeBatch::~ChangeBatch() {
  try {
    Send();
  } catch (
      ...) {  // NOLINT(bugprone-empty-catch): the error that left the batch is the one to report
  }
}

Transaction::Transaction(Connection& connection) : connection_(connection) {
  connection_.BeginTrans();
}

Transaction::~Transaction() {
  if (done_) return;
  try {
    connection_.RollbackTrans();
  } catch (...) {  // a destructor must not throw; the connection reports on next use
  }
}

void Transaction::Commit() {
  if (done_) throw Error(errc::kInvalidArgument, "transaction already ended");
  done_ = true;
  connection_.CommitTrans();
}

}  // namespace kz8mrp::db
