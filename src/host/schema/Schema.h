// The one table list of the database: every table and view any method reads or
// writes. The DDL of both database kinds is produced from it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kz8mrp::db {
class Connection;
enum class Kind;
}  // namespace kz8mrp::db

namespace kz8mrp::schema {

enum class Type {
  Text,      // codes, names, document numbers
  SmallInt,  // 16-bit whole numbers, 0/1 statuses and flags
  Integer,   // 32-bit whole numbers (line numbers, counters)
  Real,      // quantities, hours, ratios, money
  Date,      // date-times (TIMESTAMP)
  Serial,    // a running key the database assigns (single-column key only)
};

struct Column {
  std::string_view name;
  Type type;
};

struct Table {
  std::string_view name;
  std::vector<Column> columns;
  std::vector<std::string_view> key;  // primary key columns, in order
};

// A view's SELECT lists its columns explicitly and runs unchanged on both kinds.
struct View {
  std::string_view name;
  std::string_view select;
};

// A secondary index for the lookups the planning methods repeat per day or per job.
struct Index {
  std::string_view table;
  std::vector<std::string_view> columns;
};

const std::vector<Table>& Tables();
const std::vector<Index>& Indexes();
const std::vector<View>& Views();
const Table* FindTable(std::string_view name);  // case-insensitive

// CREATE TABLE / CREATE INDEX / CREATE VIEW statements for a database kind, in dependency order.
std::vector<std::string> CreateStatements(db::Kind kind);

// Creates every missing table, column and view; keeps all rows. Safe to run again.
void Install(db::Connection& connection);

}  // namespace kz8mrp::schema
