#include "host/db/Snapshot.h"

#include <kz8mrp/Error.h>

#include "host/db/Connection.h"

namespace kz8mrp::db {

Snapshot::Snapshot(Connection& connection, const std::string& sql)
    : connection_(connection), cursor_(connection.OpenCursor(sql)) {
  columns_ = cursor_->Columns();
  connection_.Attach(*this);
}

Snapshot::~Snapshot() { Close(); }

void Snapshot::Close() {
  if (!cursor_) return;
  connection_.Detach(*this);
  cursor_.reset();
}

bool Snapshot::ReadOne() {
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
  if (!cursor_) return;
  gave_up_ = true;
  Close();
}

}  // namespace kz8mrp::db
