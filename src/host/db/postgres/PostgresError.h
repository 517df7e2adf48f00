// Every libpq failure becomes one kz8mrp::Error: the SQLSTATE as native code,
// the server's message as text, and the statement that failed.
#pragma once

#include <libpq-fe.h>

#include <string>

namespace kz8mrp::db::postgres {

// `result` may be null (a failed send); the connection's message is used then.
// An empty `sql` means the connection could not be opened.
[[noreturn]] void Fail(const PGconn* conn, const PGresult* result, const std::string& sql);

// A COMMIT that the server turned into a rollback (the transaction had failed).
[[noreturn]] void FailAbortedCommit(const std::string& sql);

// Throws unless the result is a successful command or row set.
void Check(const PGconn* conn, const PGresult* result, const std::string& sql);

}  // namespace kz8mrp::db::postgres
