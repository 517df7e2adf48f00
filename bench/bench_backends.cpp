// The cost of the two calendar questions a scheduler asks most, hours per day
// and "is this a holiday", through the engine on each database kind, beside
// the same statement texts sent straight through the database's own client
// library on the same data. The engine's share is the difference.
//
//   bench_backends                      SQLite only
//   KZ8MRP_BENCH_PG="host=... dbname=postgres" bench_backends
//                                       also PostgreSQL (scripts/bench.sh starts a server)
#include <kz8mrp/MRPObject.h>

#include "host/db/Connection.h"
#include "host/db/Rows.h"
#include "host/schema/Schema.h"

#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using kz8mrp::OleDate;

// Exactly what the engine sends for GETHourPerDay(office, "CUT") and
// isMRPHoliday(2027-01-01).
constexpr const char* kHoursSql =
    "SELECT TSecHOffice FROM KZ8TSection WHERE TSecCode='CUT' ORDER BY TSecCode";
constexpr const char* kHolidaySql =
    "SELECT TEhdYear FROM KZ8TEmpHoliday WHERE TEhdHolidayDate='2027-01-01 00:00:00'";

// A small document: a read and a new row in a transaction of their own. On
// PostgreSQL the engine runs each statement inside it under a savepoint.
std::string NewRowSql(const char* who, std::int64_t n) {
  return "INSERT INTO KZ8TMPS (TMPSNo, TMPSHour) VALUES ('" + std::string(who) + std::to_string(n) +
         "', 1)";
}

// A plant of forty sections and ten years of holidays.
void LoadPlant(const std::string& connection_string) {
  auto c = kz8mrp::db::Connection::Open(connection_string, kz8mrp::db::OpenMode::Create);
  kz8mrp::schema::Install(*c);
  kz8mrp::db::Transaction tx(*c);
  for (int i = 0; i < 40; ++i) {
    kz8mrp::db::InsertRow(*c, "KZ8TSection",
                          {{"TSecCode", i == 0 ? std::string("CUT") : "S" + std::to_string(i)},
                           {"TSecHOffice", 7.5}});
  }
  for (int year = 2020; year < 2030; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (const int day : {1, 13}) {
        kz8mrp::db::InsertRow(
            *c, "KZ8TEmpHoliday",
            {{"TEhdHolidayDate", OleDate::FromParts(year, month, day)}, {"TEhdYear", year}});
      }
    }
  }
  tx.Commit();
}

struct Engine {
  explicit Engine(const std::string& connection_string) : data(connection_string, app, client) {}
  kz8mrp::AppObj app;
  kz8mrp::ClientObj client;
  kz8mrp::DataObj data;
  kz8mrp::MRPObject engine;
};

void EngineHours(benchmark::State& state, const std::string& cs) {
  Engine e(cs);
  for (auto _ : state) {
    benchmark::DoNotOptimize(e.engine.GETHourPerDay(kz8mrp::KZ8HourTypeOffice, "CUT", e.data));
  }
}

void EngineHoliday(benchmark::State& state, const std::string& cs) {
  Engine e(cs);
  const OleDate day = OleDate::FromParts(2027, 1, 1);
  for (auto _ : state) benchmark::DoNotOptimize(e.engine.isMRPHoliday(day, "", e.data));
}

void EngineSmallDocument(benchmark::State& state, const std::string& cs) {
  Engine e(cs);
  e.data.ExecuteSQL("DELETE FROM KZ8TMPS");
  std::int64_t n = 0;
  for (auto _ : state) {
    e.data.BeginTrans();
    benchmark::DoNotOptimize(e.data.Connection().Query(kHoursSql));
    e.data.ExecuteSQL(NewRowSql("E", ++n));
    e.data.CommitTrans();
  }
}

// A read inside an open transaction: the statement savepoint alone.
void EngineReadInTransaction(benchmark::State& state, const std::string& cs) {
  Engine e(cs);
  e.data.BeginTrans();
  for (auto _ : state) benchmark::DoNotOptimize(e.data.Connection().Query(kHoursSql));
  e.data.RollbackTrans();
}

// ---- SQLite's own client library ----------------------------------------------

struct SqliteCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};

std::unique_ptr<sqlite3, SqliteCloser> OpenSqlite(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  // The same durability as the engine's own connections.
  sqlite3_exec(db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
  return std::unique_ptr<sqlite3, SqliteCloser>(db);
}

double SqliteFirstNumber(sqlite3* db, const char* sql) {
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
  const double value = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_double(stmt, 0) : 0;
  sqlite3_finalize(stmt);
  return value;
}

void SqliteDirect(benchmark::State& state, const std::string& path, const char* sql) {
  const auto db = OpenSqlite(path);
  for (auto _ : state) benchmark::DoNotOptimize(SqliteFirstNumber(db.get(), sql));
}

void SqliteDirectSmallDocument(benchmark::State& state, const std::string& path) {
  const auto db = OpenSqlite(path);
  sqlite3_exec(db.get(), "DELETE FROM KZ8TMPS", nullptr, nullptr, nullptr);
  std::int64_t n = 0;
  for (auto _ : state) {
    sqlite3_exec(db.get(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    benchmark::DoNotOptimize(SqliteFirstNumber(db.get(), kHoursSql));
    sqlite3_exec(db.get(), NewRowSql("D", ++n).c_str(), nullptr, nullptr, nullptr);
    sqlite3_exec(db.get(), "COMMIT", nullptr, nullptr, nullptr);
  }
}

void SqliteDirectReadInTransaction(benchmark::State& state, const std::string& path) {
  const auto db = OpenSqlite(path);
  sqlite3_exec(db.get(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
  for (auto _ : state) benchmark::DoNotOptimize(SqliteFirstNumber(db.get(), kHoursSql));
  sqlite3_exec(db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
}

// ---- PostgreSQL's own client library ------------------------------------------

struct PgCloser {
  void operator()(PGconn* c) const { PQfinish(c); }
};

double PgFirstNumber(PGconn* c, const char* sql) {
  PGresult* r = PQexec(c, sql);
  const double value = PQntuples(r) > 0 ? std::strtod(PQgetvalue(r, 0, 0), nullptr) : 0;
  PQclear(r);
  return value;
}

void PgDirect(benchmark::State& state, const std::string& cs, const char* sql) {
  const std::unique_ptr<PGconn, PgCloser> c(PQconnectdb(cs.c_str()));
  for (auto _ : state) benchmark::DoNotOptimize(PgFirstNumber(c.get(), sql));
}

void PgDirectSmallDocument(benchmark::State& state, const std::string& cs) {
  const std::unique_ptr<PGconn, PgCloser> c(PQconnectdb(cs.c_str()));
  PQclear(PQexec(c.get(), "DELETE FROM KZ8TMPS"));
  std::int64_t n = 0;
  for (auto _ : state) {
    PQclear(PQexec(c.get(), "BEGIN"));
    benchmark::DoNotOptimize(PgFirstNumber(c.get(), kHoursSql));
    PQclear(PQexec(c.get(), NewRowSql("D", ++n).c_str()));
    PQclear(PQexec(c.get(), "COMMIT"));
  }
}

void PgDirectReadInTransaction(benchmark::State& state, const std::string& cs) {
  const std::unique_ptr<PGconn, PgCloser> c(PQconnectdb(cs.c_str()));
  PQclear(PQexec(c.get(), "BEGIN"));
  for (auto _ : state) benchmark::DoNotOptimize(PgFirstNumber(c.get(), kHoursSql));
  PQclear(PQexec(c.get(), "ROLLBACK"));
}

// ---- Set-up -------------------------------------------------------------------

std::string WithDatabase(const std::string& server, const std::string& name) {
  return server + " dbname=" + name;  // a later keyword wins over the server's own
}

// The straight-through side of each comparison, per client library.
struct Direct {
  void (*query)(benchmark::State&, const std::string&, const char*);
  void (*read_in_transaction)(benchmark::State&, const std::string&);
  void (*small_document)(benchmark::State&, const std::string&);
};

// Each call through the engine beside the same statements sent directly.
void RegisterBackend(const std::string& backend, const std::string& cs, const Direct& direct) {
  const auto name = [&](const char* work, const char* side) {
    return backend + "/" + work + "/" + side;
  };
  benchmark::RegisterBenchmark(name("GETHourPerDay", "engine").c_str(), EngineHours, cs);
  benchmark::RegisterBenchmark(name("GETHourPerDay", "direct").c_str(), direct.query, cs,
                               kHoursSql);
  benchmark::RegisterBenchmark(name("isMRPHoliday", "engine").c_str(), EngineHoliday, cs);
  benchmark::RegisterBenchmark(name("isMRPHoliday", "direct").c_str(), direct.query, cs,
                               kHolidaySql);
  benchmark::RegisterBenchmark(name("ReadInTransaction", "engine").c_str(), EngineReadInTransaction,
                               cs);
  benchmark::RegisterBenchmark(name("ReadInTransaction", "direct").c_str(),
                               direct.read_in_transaction, cs);
  benchmark::RegisterBenchmark(name("SmallDocument", "engine").c_str(), EngineSmallDocument, cs);
  benchmark::RegisterBenchmark(name("SmallDocument", "direct").c_str(), direct.small_document, cs);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const auto dir =
      std::filesystem::temp_directory_path() / ("kz8mrp-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string sqlite_path = (dir / "plant.db").string();
  LoadPlant(sqlite_path);
  RegisterBackend("SQLite", sqlite_path,
                  {SqliteDirect, SqliteDirectReadInTransaction, SqliteDirectSmallDocument});

  const char* server = std::getenv("KZ8MRP_BENCH_PG");
  const std::string pg_name = "kz8mrp_bench_" + std::to_string(::getpid());
  std::unique_ptr<kz8mrp::db::Connection> admin;
  if (server && *server) {
    admin = kz8mrp::db::Connection::Open(server, kz8mrp::db::OpenMode::Create);
    admin->Execute("CREATE DATABASE " + pg_name +
                   " ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C' TEMPLATE template0");
    LoadPlant(WithDatabase(server, pg_name));
    RegisterBackend("PostgreSQL", WithDatabase(server, pg_name),
                    {PgDirect, PgDirectReadInTransaction, PgDirectSmallDocument});
  }

  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  if (admin) admin->Execute("DROP DATABASE " + pg_name + " WITH (FORCE)");
  std::filesystem::remove_all(dir);
  return 0;
}
