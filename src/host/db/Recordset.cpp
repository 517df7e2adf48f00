#include "host/db/Recordset.h"

#include <kz8mrp/Error.h>

#include "common/Text.h"
#include "host/db/Convert.h"

#include <cctype>

namespace kz8mrp::db {
namespace {

// "SELECT * FROM <table> ..." read by hand: a written recordset is opened once
// per row written. `table` is empty for any other query; `whole_rows` says the
// table stands alone (nothing but WHERE or ORDER BY follows), so that the
// result's columns are the table's own.
struct SelectAll {
  std::string_view table;
  bool whole_rows = false;
};

SelectAll ReadSelectAll(std::string_view sql) {
  const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  std::size_t at = 0;
  const auto skip_blanks = [&] {
    const std::size_t from = at;
    while (at < sql.size() && blank(sql[at])) ++at;
    return at > from;
  };
  const auto word = [&](std::string_view w) {
    if (!text::EqualsNoCase(sql.substr(at, w.size()), w)) return false;
    at += w.size();
    return true;
  };
  skip_blanks();
  if (!word("SELECT") || !skip_blanks() || !word("*") || !skip_blanks() || !word("FROM") ||
      !skip_blanks()) {
    return {};
  }
  const std::size_t start = at;
  while (at < sql.size() && (std::isalnum(static_cast<unsigned char>(sql[at])) || sql[at] == '_')) {
    ++at;
  }
  SelectAll found{sql.substr(start, at - start)};
  const auto clause_follows = [&] {
    const std::size_t clause = at;
    if (word("WHERE") && skip_blanks()) return true;
    at = clause;
    return word("ORDER") && skip_blanks();
  };
  // Anything else after the name (a comma, a join, an alias) may bring other columns.
  found.whole_rows =
      !found.table.empty() &&
      (at == sql.size() || (skip_blanks() && (at == sql.size() || clause_follows())));
  return found;
}

// A written recordset on whole rows of one table knows its columns from the
// catalog and need not ask the database for rows until one is wanted.
const TableInfo* WholeRowsOf(Connection& connection, const std::string& sql, LockType lock) {
  if (lock != LockType::Optimistic) return nullptr;
  const SelectAll select = ReadSelectAll(sql);
  return select.whole_rows ? &connection.Table(std::string(select.table)) : nullptr;
}

std::unique_ptr<Snapshot> OpenRows(Connection& connection, const std::string& sql,
                                   const TableInfo* whole_rows_of) {
  if (whole_rows_of) {
    return std::make_unique<Snapshot>(connection, sql, whole_rows_of->Names());
  }
  auto rows = std::make_unique<Snapshot>(connection, sql);
  rows->Reach(0);  // the first row, so that a query's error shows at once
  return rows;
}

}  // namespace

Recordset::Recordset(Connection& connection, std::string sql, LockType lock)
    : connection_(connection),
      sql_(std::move(sql)),
      lock_(lock),
      target_(WholeRowsOf(connection_, sql_, lock_)),
      whole_rows_(target_ != nullptr),
      rows_(OpenRows(connection_, sql_, target_)) {
  if (!whole_rows_) IndexColumns();  // a row written per line needs no index of its own
}

Recordset::Recordset(Connection& connection, std::string sql, std::unique_ptr<Snapshot> rows)
    : connection_(connection),
      sql_(std::move(sql)),
      lock_(LockType::ReadOnly),
      target_(nullptr),
      whole_rows_(false),
      rows_(std::move(rows)) {
  IndexColumns();
}

std::vector<std::unique_ptr<Recordset>> Recordset::OpenTogether(
    Connection& connection, const std::vector<std::string>& sqls) {
  std::vector<std::unique_ptr<Cursor>> cursors = connection.OpenCursors(sqls);
  std::vector<std::unique_ptr<Recordset>> opened;
  for (std::size_t i = 0; i < sqls.size(); ++i) {
    auto rows = std::make_unique<Snapshot>(connection, std::move(cursors[i]));
    rows->Reach(0);  // as for one query: its error shows at once
    opened.push_back(
        std::unique_ptr<Recordset>(new Recordset(connection, sqls[i], std::move(rows))));
  }
  return opened;
}

void Recordset::IndexColumns() {
  const std::vector<std::string>& columns = rows_->Columns();
  for (std::size_t i = 0; i < columns.size(); ++i) {
    index_.emplace(columns[i], i);  // the first match wins
  }
}

bool Recordset::Eof() const { return adding_ ? false : !rows_->Reach(row_); }

void Recordset::MoveNext() {
  if (Eof()) throw Error(errc::kNoCurrentRecord, "Either BOF or EOF is True");
  ++row_;
}

bool Recordset::HasField(std::string_view name) const { return Place(name) != std::string::npos; }

std::size_t Recordset::Place(std::string_view name) const {
  if (whole_rows_) return target_->IndexOf(name);
  const auto it = index_.find(name);
  return it == index_.end() ? std::string::npos : it->second;
}

std::size_t Recordset::ColumnIndex(std::string_view name) const {
  const std::size_t at = Place(name);
  if (at == std::string::npos) {
    throw Error(errc::kItemNotFound, "Item cannot be found in the collection: column " +
                                         std::string(name) + " is not in the result");
  }
  return at;
}

const Value& Recordset::Field(std::string_view name) const {
  const std::size_t column = ColumnIndex(name);
  if (Eof()) throw Error(errc::kNoCurrentRecord, "Either BOF or EOF is True");
  if (adding_) {
    for (const Assigned& a : pending_) {
      if (text::EqualsNoCase(a.name, name)) return a.value;
    }
    static const Value kNull;
    return kNull;
  }
  return rows_->Row(row_)[column];
}

const TableInfo& Recordset::Target() {
  if (lock_ != LockType::Optimistic) {
    throw Error(errc::kInvalidArgument, "the recordset is read-only: " + sql_);
  }
  if (!target_) {
    const std::string_view table = ReadSelectAll(sql_).table;
    if (table.empty()) {
      throw Error(errc::kInvalidArgument,
                  "a written recordset must be opened on SELECT * FROM one table: " + sql_);
    }
    target_ = &connection_.Table(std::string(table));
  }
  return *target_;
}

void Recordset::AddNew() {
  Target();
  // The new row goes after every row of the query, so the rows not yet walked
  // are out of reach from here on: nobody reads them.
  rows_->GiveUpRest();
  adding_ = true;
  pending_.clear();
  pending_at_.clear();
}

void Recordset::Set(std::string_view column, Value value) {
  const TableInfo& table = Target();
  const ColumnInfo* info = table.Find(column);
  if (!info) {
    throw Error(errc::kItemNotFound, "Item cannot be found in the collection: " + table.name +
                                         " has no column " + std::string(column));
  }
  if (!adding_ && Eof()) throw Error(errc::kNoCurrentRecord, "Either BOF or EOF is True");
  // A column assigned again keeps its place and takes the new value.
  const auto [at, first_time] = pending_at_.emplace(info, pending_.size());
  if (!first_time) {
    pending_[at->second].value = std::move(value);
    return;
  }
  pending_.push_back({std::string(column), info, std::move(value)});
}

void Recordset::Update() {
  Target();
  if (adding_) {
    InsertNew();
  } else {
    UpdateCurrent();
  }
  pending_.clear();
  pending_at_.clear();
  adding_ = false;
}

void Recordset::InsertNew() {
  const TableInfo& table = *target_;
  std::string names;
  std::string marks;
  std::vector<Value> params;
  for (const Assigned& a : pending_) {
    if (!params.empty()) {
      names += ',';
      marks += ',';
    }
    names += a.column->name;
    params.push_back(ConvertForColumn(a.value, *a.column));
    marks += connection_.backend().Placeholder(static_cast<int>(params.size()));
  }
  connection_.Change("INSERT INTO " + table.name + " (" + names + ") VALUES (" + marks + ")",
                     params);
  // The new row becomes the current one, as the columns were assigned.
  std::vector<Value> row(rows_->Columns().size());
  for (std::size_t i = 0; i < pending_.size(); ++i) {
    if (const std::size_t at = Place(pending_[i].name); at != std::string::npos) {
      row[at] = std::move(params[i]);
    }
  }
  rows_->Append(std::move(row));
  row_ = rows_->Walked() - 1;
}

void Recordset::UpdateCurrent() {
  if (Eof()) throw Error(errc::kNoCurrentRecord, "Either BOF or EOF is True");
  if (pending_.empty()) return;
  const TableInfo& table = *target_;
  if (table.primary_key.empty()) {
    throw Error(errc::kInvalidArgument,
                "cannot overwrite a row of " + table.name + ": the table has no primary key");
  }
  std::string sets;
  std::vector<Value> params;
  for (const Assigned& a : pending_) {
    params.push_back(ConvertForColumn(a.value, *a.column));
    if (!sets.empty()) sets += ',';
    sets +=
        a.column->name + "=" + connection_.backend().Placeholder(static_cast<int>(params.size()));
  }
  std::string where;
  for (const std::string& key : table.primary_key) {
    params.push_back(rows_->Row(row_)[ColumnIndex(key)]);
    if (!where.empty()) where += " AND ";
    where += key + "=" + connection_.backend().Placeholder(static_cast<int>(params.size()));
  }
  connection_.Change("UPDATE " + table.name + " SET " + sets + " WHERE " + where, params);
  for (std::size_t i = 0; i < pending_.size(); ++i) {
    if (const std::size_t at = Place(pending_[i].name); at != std::string::npos) {
      rows_->Row(row_)[at] = std::move(params[i]);
    }
  }
}

}  // namespace kz8mrp::db
