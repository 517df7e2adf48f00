#include "support/StatementReplay.h"

#include <kz8mrp/Error.h>

#include "common/Text.h"
#include "host/db/Connection.h"
#include "host/db/sqlite/SqliteBackend.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <cmath>
#include <map>
#include <stdexcept>

namespace kz8bench {
namespace {

using kz8mrp::db::Value;

// As the SQLite layer binds: whole numbers as integers, dates as their text.
RawParam Raw(const Value& v) {
  RawParam p;
  switch (v.kind()) {
    case Value::Kind::Null:
      break;
    case Value::Kind::Number: {
      const double n = v.number();
      const bool whole = std::trunc(n) == n && std::fabs(n) < 9.0e15;
      p.kind = whole ? RawParam::Kind::Integer : RawParam::Kind::Real;
      p.integer = static_cast<long long>(n);
      p.real = n;
      p.text = kz8mrp::text::NumberText(n);
      break;
    }
    case Value::Kind::Text:
      p.kind = RawParam::Kind::Text;
      p.text = v.text();
      break;
    case Value::Kind::Date:
      p.kind = RawParam::Kind::Text;
      p.text = v.date().ToString();
      break;
  }
  return p;
}

void CheckSqlite(sqlite3* db, int rc, const std::string& sql) {
  if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) {
    throw std::runtime_error(std::string(sqlite3_errmsg(db)) + " in: " + sql);
  }
}

}  // namespace

std::vector<RawStatement> Capture(const std::function<void()>& call) {
  std::vector<RawStatement> statements;
  std::map<const kz8mrp::db::Connection*, int> numbers;
  kz8mrp::db::SetStatementTap([&](const kz8mrp::db::Connection& c, const std::string& sql,
                                  const std::vector<Value>& params) {
    const int number = numbers.emplace(&c, static_cast<int>(numbers.size())).first->second;
    RawStatement s{number, sql, {}};
    for (const Value& v : params) s.params.push_back(Raw(v));
    statements.push_back(std::move(s));
  });
  try {
    call();
  } catch (...) {
    kz8mrp::db::SetStatementTap({});
    throw;
  }
  kz8mrp::db::SetStatementTap({});
  return statements;
}

int ConnectionsUsed(const std::vector<RawStatement>& statements) {
  int n = 0;
  for (const auto& s : statements) n = std::max(n, s.connection + 1);
  return n;
}

SqliteReplay::SqliteReplay(const std::string& path, std::vector<RawStatement> statements)
    : statements_(std::move(statements)) {
  for (int i = 0; i < ConnectionsUsed(statements_); ++i) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) !=
        SQLITE_OK) {
      sqlite3_close_v2(db);
      throw std::runtime_error("cannot open " + path);
    }
    sqlite3_busy_timeout(db, 30000);
    connections_.push_back(db);
    // The engine's own session settings: the floor differs from it in the
    // layer only.
    if (sqlite3_exec(db, kz8mrp::db::sqlite::kSessionPragmas, nullptr, nullptr, nullptr) !=
        SQLITE_OK) {
      throw std::runtime_error("cannot set up " + path);
    }
  }
}

SqliteReplay::~SqliteReplay() {
  for (sqlite3* db : connections_) sqlite3_close_v2(db);
}

void SqliteReplay::Run() {
  for (const RawStatement& s : statements_) {
    sqlite3* db = connections_[static_cast<std::size_t>(s.connection)];
    sqlite3_stmt* stmt = nullptr;
    CheckSqlite(
        db, sqlite3_prepare_v2(db, s.sql.c_str(), static_cast<int>(s.sql.size()), &stmt, nullptr),
        s.sql);
    for (std::size_t i = 0; i < s.params.size(); ++i) {
      const RawParam& p = s.params[i];
      const int at = static_cast<int>(i + 1);
      switch (p.kind) {
        case RawParam::Kind::Null:
          sqlite3_bind_null(stmt, at);
          break;
        case RawParam::Kind::Integer:
          sqlite3_bind_int64(stmt, at, p.integer);
          break;
        case RawParam::Kind::Real:
          sqlite3_bind_double(stmt, at, p.real);
          break;
        case RawParam::Kind::Text:
          sqlite3_bind_text(stmt, at, p.text.data(), static_cast<int>(p.text.size()),
                            SQLITE_STATIC);
          break;
      }
    }
    int rc = 0;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
      for (int c = 0, n = sqlite3_column_count(stmt); c < n; ++c) {
        switch (sqlite3_column_type(stmt, c)) {
          case SQLITE_INTEGER:
            (void)sqlite3_column_int64(stmt, c);
            break;
          case SQLITE_FLOAT:
            (void)sqlite3_column_double(stmt, c);
            break;
          case SQLITE_NULL:
            break;
          default:
            (void)sqlite3_column_text(stmt, c);
            (void)sqlite3_column_bytes(stmt, c);
        }
      }
    }
    CheckSqlite(db, rc, s.sql);
    sqlite3_finalize(stmt);
  }
}

PostgresReplay::PostgresReplay(const std::string& connection_string,
                               std::vector<RawStatement> statements)
    : statements_(std::move(statements)) {
  for (int i = 0; i < ConnectionsUsed(statements_); ++i) {
    PGconn* c = PQconnectdb(connection_string.c_str());
    if (PQstatus(c) != CONNECTION_OK) {
      const std::string message = PQerrorMessage(c);
      PQfinish(c);
      throw std::runtime_error("cannot connect: " + message);
    }
    PQclear(PQexec(c,
                   "SET DateStyle='ISO, YMD'; SET client_encoding='UTF8'; "
                   "SET standard_conforming_strings=on"));
    connections_.push_back(c);
  }
  for (const RawStatement& s : statements_) {
    std::vector<const char*> values;
    for (const RawParam& p : s.params) {
      values.push_back(p.kind == RawParam::Kind::Null ? nullptr : p.text.c_str());
    }
    values_.push_back(std::move(values));
  }
}

PostgresReplay::~PostgresReplay() {
  for (PGconn* c : connections_) PQfinish(c);
}

void PostgresReplay::Run() {
  for (std::size_t k = 0; k < statements_.size(); ++k) {
    const RawStatement& s = statements_[k];
    PGconn* c = connections_[static_cast<std::size_t>(s.connection)];
    PGresult* r = PQexecParams(c, s.sql.c_str(), static_cast<int>(s.params.size()), nullptr,
                               values_[k].data(), nullptr, nullptr, 0);
    const ExecStatusType status = PQresultStatus(r);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
      const std::string message = PQresultErrorMessage(r);
      PQclear(r);
      throw std::runtime_error(message + " in: " + s.sql);
    }
    for (int row = 0, rows = PQntuples(r); row < rows; ++row) {
      for (int col = 0, cols = PQnfields(r); col < cols; ++col) {
        (void)PQgetvalue(r, row, col);
      }
    }
    PQclear(r);
  }
}

}  // namespace kz8bench
