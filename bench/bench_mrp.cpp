// What planning a year of finished goods costs: a plant of 1,000 products with
// a year of stock movements (two a week each) and job requirements (one a week
// each); GenerateMRP4 over 365 days for the first 250 and for all 1,000
// products in one transaction, first on an empty MRP table and then again over
// the rows it wrote, against the floor: the same number of day rows written
// through one prepared INSERT, a row at a time, in one transaction straight
// through the database's own client library. A 30-day run shows that the
// statements sent per product do not grow with the days.
//
// SQLite always; PostgreSQL too when KZ8MRP_BENCH_PG holds a connection string.
#include <kz8mrp/MRPObject.h>

#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include "host/Sql.h"
#include "host/db/Connection.h"
#include "host/db/Pool.h"
#include "host/schema/Schema.h"
#include "support/EngineVsFloor.h"
#include "support/RowWriter.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using kz8bench::RowWriter;
using kz8mrp::OleDate;
namespace sql = kz8mrp::sql;

constexpr int kProducts = 1000;
constexpr int kWeeks = 52;
const OleDate kFirstDay = OleDate::FromParts(2027, 1, 1);

std::string Code(int p) {
  char code[16];
  std::snprintf(code, sizeof code, "P%04d", p);
  return code;
}
std::string Day(int day) { return sql::Text(kFirstDay.AddDays(day).ToString()); }

void LoadPlant(const std::string& connection_string) {
  auto c = kz8mrp::db::Connection::Open(connection_string, kz8mrp::db::OpenMode::Create);
  kz8mrp::schema::Install(*c);
  kz8mrp::db::Transaction tx(*c);
  for (const char* t :
       {"KZ8TProduct", "KZ8TStockCard", "KZ8TJob", "KZ8TJobMB", "KZ8TJobMaterial", "KZ8TMRP"}) {
    c->Execute(std::string("DELETE FROM ") + t);
  }
  {
    RowWriter products(*c, "INSERT INTO KZ8TProduct (TPdtCode)");
    RowWriter stock(*c,
                    "INSERT INTO KZ8TStockCard (TStcTInvNo,TStcLn,TStcTPdtCode,TStcDate,"
                    "TStcStockKind,TStcQuantity)");
    RowWriter jobs(*c, "INSERT INTO KZ8TJob (TJobNo,TJobApproveStatus,TJobCancelStatus)");
    RowWriter lines(*c, "INSERT INTO KZ8TJobMB (TJbMTJobNo,TJbMLn,TJbMSourceDate)");
    RowWriter materials(*c,
                        "INSERT INTO KZ8TJobMaterial (TJMtTJbMTJobNo,TJMtTJbMLn,TJMtLn,"
                        "TJMtProductCode,TJMtQuantity)");
    const char* const kinds[] = {"RM", "WIP", "FG", "RM-OUT"};
    for (int w = 0; w < kWeeks; ++w) {
      const std::string job = sql::Text("J" + std::to_string(w));
      jobs.Add(job + "," + (w % 5 == 4 ? "0" : "1") + ",0");
      for (int ln = 1; ln <= 7; ++ln)
        lines.Add(job + "," + std::to_string(ln) + "," + Day(w * 7 + ln - 1));
    }
    for (int p = 0; p < kProducts; ++p) {
      const std::string code = sql::Text(Code(p));
      products.Add(code);
      for (int m = 0; m < 2 * kWeeks; ++m) {
        stock.Add(sql::Text("S" + std::to_string(p) + "-" + std::to_string(m)) + ",1," + code +
                  "," + Day((m * 7 / 2 + p) % 365) + "," + sql::Text(kinds[(m + p) % 4]) + "," +
                  sql::Number((m % 3 == 2 ? -1 : 1) * (5 + (m * p) % 40)));
      }
      for (int w = 0; w < kWeeks; ++w) {
        materials.Add(sql::Text("J" + std::to_string(w)) + "," + std::to_string(1 + (p + w) % 7) +
                      "," + std::to_string(p + 1) + "," + code + "," +
                      sql::Number(1 + (p + w) % 17));
      }
    }
  }
  tx.Commit();
}

// ---- The floor -------------------------------------------------------------------

constexpr const char* kInsertRow =
    "INSERT INTO KZ8TMRP (TMRPTPdtCode,TMRPDate,TMRPBalanceFlag,TMRPBalanceFG,TMRPFGBegin,"
    "TMRPFGReceive,TMRPMR,TMRPFGEnd,TMRPRM,TMRPWIP,TMRPWIPFG,TMRPTotal,TMRPFlag1,TMRPFlag3) "
    "VALUES ";

void SqliteFloor(const std::string& path, int products, int days) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) throw std::runtime_error("sqlite open");
  sqlite3_busy_timeout(db, 5000);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* stmt = nullptr;
  const std::string text =
      std::string(kInsertRow) + "(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14)";
  sqlite3_prepare_v2(db, text.c_str(), -1, &stmt, nullptr);
  const std::string stamp = "2027-01-01 08:00:00";
  for (int p = 0; p < products; ++p) {
    const std::string code = Code(p);
    for (int d = 0; d < days; ++d) {
      const std::string day = kFirstDay.AddDays(d).ToString();
      sqlite3_bind_text(stmt, 1, code.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(stmt, 2, day.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int(stmt, 3, 0);
      for (int c = 4; c <= 12; ++c) sqlite3_bind_double(stmt, c, d * 1.5 + c);
      sqlite3_bind_int(stmt, 13, 1);
      sqlite3_bind_text(stmt, 14, stamp.c_str(), -1, SQLITE_TRANSIENT);
      if (sqlite3_step(stmt) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db));
      sqlite3_reset(stmt);
    }
  }
  sqlite3_finalize(stmt);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

void PostgresFloor(const std::string& conninfo, int products, int days) {
  PGconn* c = PQconnectdb(conninfo.c_str());
  if (PQstatus(c) != CONNECTION_OK) throw std::runtime_error(PQerrorMessage(c));
  const auto run = [c](PGresult* r) {
    const ExecStatusType s = PQresultStatus(r);
    PQclear(r);
    if (s != PGRES_COMMAND_OK) throw std::runtime_error(PQerrorMessage(c));
  };
  run(PQexec(c, "BEGIN"));
  const std::string text =
      std::string(kInsertRow) + "($1,$2,$3,$4,$5,$6,$7,$8,$9,$10,$11,$12,$13,$14)";
  run(PQprepare(c, "row", text.c_str(), 0, nullptr));
  std::vector<std::string> values(14);
  std::vector<const char*> pointers(14);
  values[13] = "2027-01-01 08:00:00";
  for (int p = 0; p < products; ++p) {
    values[0] = Code(p);
    for (int d = 0; d < days; ++d) {
      values[1] = kFirstDay.AddDays(d).ToString();
      values[2] = "0";
      for (int col = 3; col < 12; ++col) values[col] = sql::Number(d * 1.5 + col);
      values[12] = "1";
      for (int i = 0; i < 14; ++i) pointers[i] = values[i].c_str();
      run(PQexecPrepared(c, "row", 14, pointers.data(), nullptr, nullptr, 0));
    }
  }
  run(PQexec(c, "COMMIT"));
  PQfinish(c);
}

// ---- The runs ------------------------------------------------------------------------

struct Figures {
  double first_ms = 0, again_ms = 0, floor_ms = 0;
  double statements_per_product = 0, statements_per_product_30 = 0;
};
std::map<std::string, Figures> figures;  // by database and products

double Ms(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// Every product's year, in one transaction; the statements sent per product.
double PlanYear(kz8bench::Session& s, int products, int days) {
  const std::uint64_t before = kz8mrp::db::StatementsSent();
  kz8bench::InTransaction(s, [&] {
    for (int p = 0; p < products; ++p) {
      s.engine.GenerateMRP4(s.data, Code(p), kFirstDay, kFirstDay.AddDays(days - 1),
                            kz8mrp::Integer{0}, 0, false);
    }
  });
  return static_cast<double>(kz8mrp::db::StatementsSent() - before) / products;
}

void Register(const std::string& name, kz8bench::Session& s,
              const std::function<void(int products, int days)>& floor) {
  for (const int products : {250, kProducts}) {
    const std::string key = name + "/" + std::to_string(products);
    Figures& f = figures[key];
    const auto add = [&](const std::string& what, auto body) {
      benchmark::RegisterBenchmark((what + "/" + key).c_str(),
                                   [&s, body](benchmark::State& state) {
                                     s.data.Connection().Execute("DELETE FROM KZ8TMRP");
                                     body(state);
                                   })
          ->Iterations(1)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    };
    add("mrp 30 days", [&s, &f, products](benchmark::State& state) {
      for (auto _ : state) f.statements_per_product_30 = PlanYear(s, products, 30);
    });
    add("mrp 365 days, first and again", [&s, &f, products](benchmark::State& state) {
      for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        f.statements_per_product = PlanYear(s, products, 365);
        auto t1 = std::chrono::steady_clock::now();
        PlanYear(s, products, 365);
        f.first_ms = Ms(t1 - t0);
        f.again_ms = Ms(std::chrono::steady_clock::now() - t1);
      }
      state.counters["statements/product"] = f.statements_per_product;
    });
    add("floor 365 days", [&f, floor, products](benchmark::State& state) {
      for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        floor(products, 365);
        f.floor_ms = Ms(std::chrono::steady_clock::now() - t0);
      }
    });
  }
}

void PrintSummary() {
  std::printf("\n%-18s %10s %10s %10s %7s %7s %14s %14s\n", "database/products", "first ms",
              "again ms", "floor ms", "first", "again", "stmts/product", "stmts/product");
  std::printf("%-18s %10s %10s %10s %7s %7s %14s %14s\n", "", "", "", "", "/floor", "/floor",
              "365 days", "30 days");
  for (const auto& [key, f] : figures) {
    if (f.floor_ms <= 0) continue;
    std::printf("%-18s %10.0f %10.0f %10.0f %7.2f %7.2f %14.1f %14.1f\n", key.c_str(), f.first_ms,
                f.again_ms, f.floor_ms, f.first_ms / f.floor_ms, f.again_ms / f.floor_ms,
                f.statements_per_product, f.statements_per_product_30);
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const OleDate now = OleDate::FromParts(2027, 1, 1, 8);
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     ("kz8mrp-bench-mrp-" + std::to_string(::getpid()) + ".db");
  int status = 0;
  {
    LoadPlant(file.string());
    kz8bench::Session sqlite(file.string(), now);
    Register("SQLite", sqlite,
             [&file](int products, int days) { SqliteFloor(file.string(), products, days); });
    std::unique_ptr<kz8bench::Session> postgres;
    if (const char* pg = std::getenv("KZ8MRP_BENCH_PG"); pg && *pg) {
      try {
        LoadPlant(pg);
        postgres = std::make_unique<kz8bench::Session>(pg, now);
        const std::string conninfo = pg;
        Register("PostgreSQL", *postgres,
                 [conninfo](int products, int days) { PostgresFloor(conninfo, products, days); });
      } catch (const std::exception& e) {
        std::cerr << "PostgreSQL left out: " << e.what() << '\n';
        status = 1;
      }
    }
    benchmark::RunSpecifiedBenchmarks();
    PrintSummary();
  }
  kz8mrp::db::ClearPool();
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(file.string() + suffix);
  benchmark::Shutdown();
  return status;
}
