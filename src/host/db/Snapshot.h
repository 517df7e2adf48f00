// The rows of a recordset: those walked so far, and the database's cursor
// still holding the rest. Rows nobody walks to are never read, so a recordset
// opened on a whole job only to add a routing row costs one row, not the job.
// The rows keep the view they had when the query was opened: before anything
// is changed on the connection, a cursor that would see the change reads the
// rest of its rows first. A snapshot whose columns are known beforehand waits
// with its query until a row is asked for or the connection is about to change
// something, so a routing row added to a job costs no read at all.
#pragma once

#include "host/db/Backend.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace kz8mrp::db {

class Connection;

class Snapshot {
 public:
  Snapshot(Connection& connection, const std::string& sql);
  // A query the connection has opened already.
  Snapshot(Connection& connection, std::unique_ptr<Cursor> cursor);
  // The query of `sql`, whose result has `columns`, is sent only when needed;
  // `columns` (the catalog's names of a table) outlive the snapshot.
  Snapshot(Connection& connection, std::string sql, const std::vector<std::string>& columns);
  Snapshot(const Snapshot&) = delete;
  Snapshot& operator=(const Snapshot&) = delete;
  Snapshot(Snapshot&&) = delete;
  Snapshot& operator=(Snapshot&&) = delete;
  ~Snapshot();

  const std::vector<std::string>& Columns() const { return *columns_; }
  // True when row `at` (counted from 0) exists; reads up to it when needed.
  bool Reach(std::size_t at);
  std::vector<Value>& Row(std::size_t at) { return rows_[at]; }
  const std::vector<Value>& Row(std::size_t at) const { return rows_[at]; }
  std::size_t Walked() const { return rows_.size(); }
  // Every row of the query; throws once rows were given up unread.
  std::size_t Count();
  // A row added through the recordset goes after the query's rows.
  void Append(std::vector<Value> row);

  // Rows not yet walked are read now (the connection is about to change
  // something the cursor could see), or given up (nobody can reach them).
  void ReadRest();
  void GiveUpRest();
  // Before the connection changes anything (`all`: before transaction
  // control): opened if still waiting, and read to the end if its cursor would
  // see the change.
  void Settle(bool all);

 private:
  bool Insensitive() const { return !cursor_ || cursor_->Insensitive(); }
  bool ReadOne();
  void Open();
  void Close();

  Connection& connection_;
  std::unique_ptr<Cursor> cursor_;        // null once every row is read or given up
  std::string waiting_sql_;               // the query not sent yet; empty once it is
  std::vector<std::string> own_columns_;  // the cursor's, kept past its end
  const std::vector<std::string>* columns_ = &own_columns_;
  std::vector<std::vector<Value>> rows_;
  bool gave_up_ = false;
};

}  // namespace kz8mrp::db
