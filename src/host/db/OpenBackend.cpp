#include "host/db/Backend.h"
#include "host/db/postgres/PostgresBackend.h"
#include "host/db/sqlite/SqliteBackend.h"

#include <kz8mrp/Error.h>

namespace kz8mrp::db {

namespace {

// "KEY=" at the start of the text or after a blank.
bool HasKeyword(const std::string& cs, const std::string& key) {
  for (auto at = cs.find(key + "="); at != std::string::npos; at = cs.find(key + "=", at + 1)) {
    if (at == 0 || cs[at - 1] == ' ') return true;
  }
  return false;
}

bool NamesPostgres(const std::string& cs) {
  return cs.rfind("postgresql://", 0) == 0 || cs.rfind("postgres://", 0) == 0 ||
         HasKeyword(cs, "dbname") || HasKeyword(cs, "host") || HasKeyword(cs, "service");
}

}  // namespace

std::unique_ptr<Backend> OpenBackend(const std::string& connection_string, OpenMode mode) {
  if (connection_string.empty()) {
    throw Error(errc::kInvalidArgument, "empty connection string");
  }
  if (NamesPostgres(connection_string)) {
    return std::make_unique<postgres::PostgresBackend>(connection_string, mode);
  }
  return std::make_unique<sqlite::SqliteBackend>(connection_string, mode);
}

}  // namespace kz8mrp::db
