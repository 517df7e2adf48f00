#include "host/db/postgres/PostgresBackend.h"

#include <kz8mrp/Error.h>

#include "host/db/postgres/PostgresError.h"
#include "host/db/postgres/PostgresValues.h"

#include <poll.h>

#include <algorithm>
#include <cstdlib>

namespace kz8mrp::db::postgres {
namespace {

// Whatever the connection string says wins over these: they come before it.
// The timeouts keep a vanished server from hanging a planner's workstation.
constexpr const char* kDefaultKeys[] = {
    "connect_timeout",     "keepalives",       "keepalives_idle",
    "keepalives_interval", "keepalives_count", "tcp_user_timeout",
    "application_name",    "dbname",           nullptr};
constexpr const char* kDefaultValues[] = {"10", "1", "30", "10", "3", "30000", "kz8mrp"};

// A change waits for another planner's transaction as long as on SQLite, unless
// the connection string, the role or the database says otherwise.
constexpr const char* kSessionSettings =
    "SET DateStyle='ISO, YMD'; SET client_encoding='UTF8'; SET standard_conforming_strings=on; SET "
    "client_min_messages=warning; SELECT set_config('lock_timeout', '30s', false) FROM pg_settings "
    "WHERE name='lock_timeout' AND source='default'";

constexpr const char* kSavepoint = "SAVEPOINT kz8mrp_statement";
constexpr const char* kRelease = "RELEASE SAVEPOINT kz8mrp_statement";
constexpr const char* kUndo =
    "ROLLBACK TO SAVEPOINT kz8mrp_statement; RELEASE SAVEPOINT kz8mrp_statement";

// Columns of a table or view in column order, with each column's place in the
// primary key (0 when not part of it). Unquoted names fold to lower case.
constexpr const char* kDescribe =
    "SELECT a.attname, t.typname, COALESCE((SELECT k.n FROM pg_index i, "
    "unnest(i.indkey) WITH ORDINALITY AS k(attnum, n) WHERE i.indrelid = c.oid AND "
    "i.indisprimary AND k.attnum = a.attnum), 0) AS pk "
    "FROM pg_class c JOIN pg_attribute a ON a.attrelid = c.oid "
    "JOIN pg_type t ON t.oid = a.atttypid "
    "WHERE c.relname = lower($1) AND c.relkind IN ('r', 'p', 'v', 'm', 'f') "
    "AND pg_table_is_visible(c.oid) AND a.attnum > 0 AND NOT a.attisdropped "
    "ORDER BY a.attnum";

bool Succeeded(const PGresult* r) {
  const ExecStatusType s = r ? PQresultStatus(r) : PGRES_FATAL_ERROR;
  return s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK;
}

// The result of one pipelined statement; the rest of its results are drained.
ResultPtr NextResult(PGconn* conn) {
  ResultPtr first(PQgetResult(conn));
  if (first) {
    while (PGresult* more = PQgetResult(conn)) PQclear(more);
  }
  return first;
}

}  // namespace

PostgresBackend::PostgresBackend(const std::string& connection_string, OpenMode mode) {
  const char* values[std::size(kDefaultKeys)] = {};
  std::copy(std::begin(kDefaultValues), std::end(kDefaultValues), values);
  values[std::size(kDefaultKeys) - 2] = connection_string.c_str();
  conn_.reset(PQconnectdbParams(kDefaultKeys, values, 1));
  if (!conn_ || PQstatus(conn_.get()) != CONNECTION_OK) Fail(conn_.get(), nullptr, "");
  // Server notices (and the goodbye of a terminated session) reach the caller
  // as errors where they matter; a library must not print them.
  PQsetNoticeProcessor(
      conn_.get(), [](void*, const char*) {}, nullptr);
  // One round trip: the session's settings, then whether the database holds a plant.
  std::string setup = kSessionSettings;
  if (mode == OpenMode::Existing) {
    setup += std::string("; SELECT to_regclass(lower('") + kPlantTable + "')) IS NOT NULL";
  }
  const ResultPtr r(PQexec(conn_.get(), setup.c_str()));
  Check(conn_.get(), r.get(), setup);
  if (mode == OpenMode::Existing && std::string_view(PQgetvalue(r.get(), 0, 0)) != "t") {
    throw Error(errc::kDatabase, std::string("the database ") + PQdb(conn_.get()) +
                                     " holds no plant (kz8mrp init --db with its connection "
                                     "string makes one there)");
  }
}

ResultSet PostgresBackend::Query(const std::string& sql, const std::vector<Value>& params) {
  return ReadResult(Run(sql, params).get());
}

std::int64_t PostgresBackend::Execute(const std::string& sql, const std::vector<Value>& params) {
  const ResultPtr r = Run(sql, params);
  return std::strtoll(PQcmdTuples(r.get()), nullptr, 10);
}

void PostgresBackend::ExecuteScript(const std::string& sql) {
  const ResultPtr r(PQexec(conn_.get(), sql.c_str()));
  Check(conn_.get(), r.get(), sql);
}

void PostgresBackend::Control(const std::string& sql) {
  const ResultPtr r(PQexec(conn_.get(), sql.c_str()));
  Check(conn_.get(), r.get(), sql);
  // The server answers COMMIT of an aborted transaction with a rollback, not an error.
  if (sql == "COMMIT" && std::string_view(PQcmdStatus(r.get())) == "ROLLBACK") {
    FailAbortedCommit(sql);
  }
}

TableInfo PostgresBackend::DescribeTable(const std::string& table) {
  TableInfo info;
  info.name = table;
  std::vector<std::pair<double, std::string>> key;
  for (const auto& row : Query(kDescribe, {Value(table)}).rows) {
    info.columns.push_back({row[0].AsText(), TypeOfName(row[1].AsText())});
    if (const double place = row[2].AsNumber(); place > 0) key.emplace_back(place, row[0].AsText());
  }
  std::sort(key.begin(), key.end());
  for (auto& [place, name] : key) info.primary_key.push_back(std::move(name));
  return info;
}

bool PostgresBackend::Healthy() const {
  PGconn* c = conn_.get();
  if (PQstatus(c) != CONNECTION_OK || PQpipelineStatus(c) != PQ_PIPELINE_OFF) return false;
  // An idle session hears from its server only when the server ends it (we
  // use no notifications): anything waiting on the socket is its goodbye.
  pollfd p{PQsocket(c), POLLIN, 0};
  if (::poll(&p, 1, 0) != 0) return false;
  return PQstatus(c) == CONNECTION_OK && PQtransactionStatus(c) == PQTRANS_IDLE;
}

bool PostgresBackend::InTransaction() const {
  return PQtransactionStatus(conn_.get()) != PQTRANS_IDLE;
}

ResultPtr PostgresBackend::Run(const std::string& sql, const std::vector<Value>& params) {
  if (PQtransactionStatus(conn_.get()) == PQTRANS_INTRANS) return RunUnderSavepoint(sql, params);
  return RunAlone(sql, params);
}

ResultPtr PostgresBackend::RunAlone(const std::string& sql, const std::vector<Value>& params) {
  const ParamTexts p(params);
  ResultPtr r(
      PQexecParams(conn_.get(), sql.c_str(), p.count(), nullptr, p.values(), nullptr, nullptr, 0));
  Check(conn_.get(), r.get(), sql);
  return r;
}

// The savepoint, the statement and the release travel in one round trip, so
// the savepoint costs server work but no extra wait: about a fifth of a short
// read on a local server (bench_backends, ReadInTransaction). Statements
// outside a transaction, the lookups of every calendar question among them,
// run without it.
ResultPtr PostgresBackend::RunUnderSavepoint(const std::string& sql,
                                             const std::vector<Value>& params) {
  PGconn* c = conn_.get();
  const ParamTexts p(params);
  const bool sent =
      PQenterPipelineMode(c) &&
      PQsendQueryParams(c, kSavepoint, 0, nullptr, nullptr, nullptr, nullptr, 0) &&
      PQsendQueryParams(c, sql.c_str(), p.count(), nullptr, p.values(), nullptr, nullptr, 0) &&
      PQsendQueryParams(c, kRelease, 0, nullptr, nullptr, nullptr, nullptr, 0) && PQpipelineSync(c);
  ResultPtr savepoint;
  ResultPtr statement;
  ResultPtr release;
  if (sent) {
    savepoint = NextResult(c);
    statement = NextResult(c);
    release = NextResult(c);
    const ResultPtr sync(PQgetResult(c));
  }
  if (!PQexitPipelineMode(c) || !sent) {
    Fail(c, statement ? statement.get() : savepoint.get(), sql);  // the session is unusable
  }
  if (!Succeeded(savepoint.get())) Fail(c, savepoint.get(), sql);
  if (!Succeeded(statement.get())) {
    const ResultPtr undo(PQexec(c, kUndo));  // a failure here shows on the next statement
    Fail(c, statement.get(), sql);
  }
  if (!Succeeded(release.get())) Fail(c, release.get(), sql);
  return statement;
}

}  // namespace kz8mrp::db::postgres
