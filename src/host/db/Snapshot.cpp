#include "host/db/Snapshot.h"

#include <kz8mrp/Error.h>

#include "host/db/Connection.h"

namespace kz8mrp::db {

Snapshot::Snapshot(Connection& connection, const std::string& sql)
    : Snapshot(connection, connection.OpenCursor(sql)) {}

Snapshot::Snapshot(Connection& connection, std::unique_ptr<Cursor> cursor)
    : connection_(connection), cursor_(std::move(cursor)) {
  own_columns_ = cursor_->Columns();
  connection_.Attach(*this);
}

Snapshot::Snapshot(Connection& connection, std::string sql, const std::vector<std::string>& columns)
    : connection_(connection), waiting_sql_(std::move(sql)), columns_(&columns) {
  connection_.Attach(*this);
}

Snapshot::~Snapshot() { Close(); }

void Snapshot::Open() {
  if (waiting_sql_.empty()) return;
  cursor_ = connection_.OpenCursor(waiting_sql_);
  waiting_sql_.clear();
}

void Snapshot::Close() {
  if (!cursor_ && waiting_sql_.empty()) return;
  connection_.Detach(*this);
  cursor_.reset();
  waiting_sql_.clear();
}

void Snapshot::Settle(bool all) {
  Open();
  if (all || !Insensitive()) ReadRest();
}

bool Snapshot::ReadOne() {
  Open();
  if (!cursor_) return false;
  std::vector<Value> row;
  if (!cursor_->Next(row)) {
    Close();
    return false;
  }
  NoteRowsRead(1);
  rows_.push_back(std::move(row));
  return true;
}

bool Snapshot::Reach(std::size_t at) {
  while (rows_.size() <= at) {
    if (!ReadOne()) return false;
  }
  return true;
}

std::size_t Snapshot::Count() {
  if (gave_up_) {
    throw Error(errc::kInvalidArgument,
                "the count of a recordset added to before it was read to its end is not kept");
  }
  ReadRest();
  return rows_.size();
}

void Snapshot::Append(std::vector<Value> row) { rows_.push_back(std::move(row)); }

void Snapshot::ReadRest() {
  while (ReadOne()) {
  }
}

void Snapshot::GiveUpRest() {
  if (!cursor_ && waiting_sql_.empty()) return;
  gave_up_ = true;
  Close();
}

}  // namespace kz8mrp::db
