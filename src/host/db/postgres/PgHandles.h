// Owning handles for libpq's C objects, so that no path can leak a server
// connection or a result.
#pragma once

#include <libpq-fe.h>

#include <memory>

namespace kz8mrp::db::postgres {

struct ConnDeleter {
  void operator()(PGconn* conn) const { PQfinish(conn); }
};
struct ResultDeleter {
  void operator()(PGresult* result) const { PQclear(result); }
};

using ConnPtr = std::unique_ptr<PGconn, ConnDeleter>;
using ResultPtr = std::unique_ptr<PGresult, ResultDeleter>;

}  // namespace kz8mrp::db::postgres
