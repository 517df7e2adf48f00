#include "host/db/Recordset.h"

#include <kz8mrp/Error.h>

#include "common/Text.h"
#include "host/db/Convert.h"

#include <cctype>

namespace kz8mrp::db {
namespace {

// The table of "SELECT * FROM <table> ...", or empty for any other query.
// Read by hand: a written recordset is opened once per row written.
std::string_view SelectAllTable(std::string_view sql) {
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
  return sql.substr(start, at - start);
}

}  // namespace

Recordset::Recordset(Connection& connection, std::string sql, LockType lock)
    : connection_(connection), sql_(std::move(sql)), lock_(lock), rows_(connection_, sql_) {
  const std::vector<std::string>& columns = rows_.Columns();
  for (std::size_t i = 0; i < columns.size(); ++i) {
    index_.emplace(columns[i], i);  // the first match wins
  }
  rows_.Reach(row_);  // the first row, so that EOF is known
}

void Recordset::MoveNext() {
  if (Eof()) throw Error(errc::kNoCurrentRecord, "Either BOF or EOF is True");
  rows_.Reach(++row_);
}

bool Recordset::HasField(std::string_view name) const { return index_.count(name) != 0; }

std::size_t Recordset::ColumnIndex(std::string_view name) const {
  const auto it = index_.find(name);
  if (it == index_.end()) {
    throw Error(errc::kItemNotFound, "Item cannot be found in the collection: column " +
                                         std::string(name) + " is not in the result");
  }
  return it->second;
}

const Value& Recordset::Field(std::string_view name) const {
  const std::size_t column = ColumnIndex(name);
  if (Eof()) throw Error(errc::kNoCurrentRecord, "Either BOF or EOF is True");
  if (adding_) {
    for (const auto& [assigned, value] : pending_) {
      if (text::EqualsNoCase(assigned, name)) return value;
    }
    static const Value kNull;
    return kNull;
  }
  return rows_.Row(row_)[column];
}

const TableInfo& Recordset::Target() {
  if (lock_ != LockType::Optimistic) {
    throw Error(errc::kInvalidArgument, "the recordset is read-only: " + sql_);
  }
  if (!target_) {
    const std::string_view table = SelectAllTable(sql_);
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
  rows_.GiveUpRest();
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
    pending_[at->second].second = std::move(value);
    return;
  }
  pending_.emplace_back(std::string(column), std::move(value));
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
  for (const auto& [column, value] : pending_) {
    const ColumnInfo& info = *table.Find(column);
    if (!params.empty()) {
      names += ',';
      marks += ',';
    }
    names += info.name;
    params.push_back(ConvertForColumn(value, info));
    marks += connection_.backend().Placeholder(static_cast<int>(params.size()));
  }
  connection_.Execute("INSERT INTO " + table.name + " (" + names + ") VALUES (" + marks + ")",
                      params);
  // The new row becomes the current one, as the columns were assigned.
  std::vector<Value> row(rows_.Columns().size());
  for (const auto& [column, value] : pending_) {
    if (const auto it = index_.find(column); it != index_.end()) {
      row[it->second] = ConvertForColumn(value, *table.Find(column));
    }
  }
  rows_.Append(std::move(row));
  row_ = rows_.Walked() - 1;
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
  for (const auto& [column, value] : pending_) {
    const ColumnInfo& info = *table.Find(column);
    params.push_back(ConvertForColumn(value, info));
    if (!sets.empty()) sets += ',';
    sets += info.name + "=" + connection_.backend().Placeholder(static_cast<int>(params.size()));
  }
  std::string where;
  for (const std::string& key : table.primary_key) {
    params.push_back(rows_.Row(row_)[ColumnIndex(key)]);
    if (!where.empty()) where += " AND ";
    where += key + "=" + connection_.backend().Placeholder(static_cast<int>(params.size()));
  }
  connection_.Execute("UPDATE " + table.name + " SET " + sets + " WHERE " + where, params);
  for (const auto& [column, value] : pending_) {
    if (const auto it = index_.find(column); it != index_.end()) {
      rows_.Row(row_)[it->second] = ConvertForColumn(value, *table.Find(column));
    }
  }
}

}  // namespace kz8mrp::db
