// A recordset opened on SQL text holds a snapshot of its rows, read from the
// database as they are walked (see Snapshot). Opened for
// writing on "SELECT * FROM <table> WHERE ...", it can overwrite the current
// row (found again by the table's primary key) or add a new one.
#pragma once

#include "common/Text.h"
#include "host/db/Connection.h"
#include "host/db/Snapshot.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kz8mrp::db {

enum class LockType { ReadOnly, Optimistic };

class Recordset {
 public:
  Recordset(Connection& connection, std::string sql, LockType lock = LockType::ReadOnly);
  // Read-only recordsets on queries that do not depend on one another, opened
  // together: a server gets them in one round trip.
  static std::vector<std::unique_ptr<Recordset>> OpenTogether(Connection& connection,
                                                              const std::vector<std::string>& sqls);
  Recordset(const Recordset&) = delete;
  Recordset& operator=(const Recordset&) = delete;
  ~Recordset() = default;

  // Reads the current row when it was not read yet.
  bool Eof() const;
  void MoveNext();
  // Reads every row there is to count them.
  std::size_t RecordCount() { return rows_->Count(); }

  bool HasField(std::string_view name) const;
  // The current row's column, looked up without regard to case.
  const Value& Field(std::string_view name) const;
  // The column joined to an empty text (null gives "").
  std::string Text(std::string_view name) const { return Field(name).AsText(); }

  // Writing.
  void AddNew();
  void Set(std::string_view column, Value value);
  void Update();

  const std::string& Sql() const { return sql_; }

 private:
  Recordset(Connection& connection, std::string sql, std::unique_ptr<Snapshot> rows);
  void IndexColumns();
  // The place of a column in the rows, or npos.
  std::size_t Place(std::string_view name) const;
  std::size_t ColumnIndex(std::string_view name) const;
  const TableInfo& Target();
  void UpdateCurrent();
  void InsertNew();

  Connection& connection_;
  std::string sql_;
  LockType lock_;
  const TableInfo* target_;  // the table written, once known
  bool whole_rows_;          // the rows are target_'s, column for column
  // Rows are read as they are reached, also through const access: reading
  // does not change what the recordset shows.
  std::unique_ptr<Snapshot> rows_;
  // Name -> first column of that name, unless the rows are whole rows of the
  // table (the catalog knows); the names are the snapshot's own.
  std::unordered_map<std::string_view, std::size_t, text::NoCaseHash, text::NoCaseEqual> index_;
  std::size_t row_ = 0;
  bool adding_ = false;
  struct Assigned {
    std::string name;  // as the method wrote it
    const ColumnInfo* column;
    Value value;
  };
  std::vector<Assigned> pending_;                                  // not yet updated
  std::unordered_map<const ColumnInfo*, std::size_t> pending_at_;  // column -> place in pending_
};

}  // namespace kz8mrp::db
