#include "host/db/postgres/PostgresError.h"

#include <kz8mrp/Error.h>

#include "common/Text.h"
#include "host/db/Backend.h"

namespace kz8mrp::db::postgres {
namespace {

// SQLSTATE class 08: the connection itself failed.
constexpr const char* kCannotConnect = "08001";
constexpr const char* kConnectionFailure = "08006";
// A lock that did not come free within lock_timeout.
constexpr const char* kLockNotAvailable = "55P03";

std::string Field(const PGresult* result, int code) {
  const char* f = result ? PQresultErrorField(result, code) : nullptr;
  return f ? f : "";
}

}  // namespace

void Fail(const PGconn* conn, const PGresult* result, const std::string& sql) {
  std::string state = Field(result, PG_DIAG_SQLSTATE);
  std::string message = Field(result, PG_DIAG_MESSAGE_PRIMARY);
  if (message.empty()) message = std::string(text::Trim(PQerrorMessage(conn)));
  if (const std::string detail = Field(result, PG_DIAG_MESSAGE_DETAIL); !detail.empty()) {
    message += " (" + detail + ")";
  }
  if (sql.empty()) {  // connecting: libpq's message names the server, never the password
    throw Error(errc::kDatabase, "cannot connect to the PostgreSQL server: " + message,
                state.empty() ? kCannotConnect : state, "");
  }
  if (PQstatus(conn) != CONNECTION_OK) {
    message = "the connection to the PostgreSQL server was lost: " + message;
    if (state.empty()) state = kConnectionFailure;
  }
  if (state == kLockNotAvailable) throw Error(errc::kDatabase, kPlantBusy, state);
  if (message.empty()) message = "PostgreSQL reported an error without a message";
  throw Error(errc::kDatabase, message, state, sql);
}

void FailAbortedCommit(const std::string& sql) {
  throw Error(errc::kDatabase,
              "the transaction had failed and was rolled back instead of committed", "25P02", sql);
}

void Check(const PGconn* conn, const PGresult* result, const std::string& sql) {
  const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) Fail(conn, result, sql);
}

}  // namespace kz8mrp::db::postgres
