// Every SQLite failure becomes one kz8mrp::Error: the extended result code as
// number and native code, SQLite's message (or the planner's reading of it) as
// text, and the statement that failed.
#pragma once

#include <string>

struct sqlite3;

namespace kz8mrp::db::sqlite {

// `db` may be null (opening failed before a handle existed). A lock that did not
// come free in time and a write to a plant opened read-only are told as such.
[[noreturn]] void Fail(sqlite3* db, int rc, const std::string& sql);

}  // namespace kz8mrp::db::sqlite
