#include "host/db/Backend.h"
#include "host/db/sqlite/SqliteBackend.h"

#include <kz8mrp/Error.h>

namespace kz8mrp::db {

namespace {
bool NamesPostgres(const std::string& cs) {
  return cs.rfind("postgresql://", 0) == 0 || cs.rfind("postgres://", 0) == 0 ||
         (cs.find("dbname=") != std::string::npos && cs.find('=') != std::string::npos);
}
}  // namespace

std::unique_ptr<Backend> OpenBackend(const std::string& connection_string) {
  if (connection_string.empty()) {
    throw Error(errc::kInvalidArgument, "empty connection string");
  }
  if (NamesPostgres(connection_string)) {
    throw Error(errc::kNotAvailable, "PostgreSQL is not available in this build");
  }
  return std::make_unique<sqlite::SqliteBackend>(sqlite::PathOf(connection_string));
}

}  // namespace kz8mrp::db
