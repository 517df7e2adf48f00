// Fresh PostgreSQL databases for tests: the PostgreSQL backend fills this in.
#include <kz8mrp/Error.h>

#include <string>

namespace kz8test {

std::string FreshPostgres(const std::string& /*server*/, const std::string& /*test_name*/) {
  throw kz8mrp::Error(kz8mrp::errc::kNotAvailable, "PostgreSQL is not available in this build");
}

}  // namespace kz8test
