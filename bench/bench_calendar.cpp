// What the calendar costs: stepping a piece of work over 250 working days of a
// busy section, and booking the machine schedule of a 200-step job. Each is
// timed through the engine and against its floor, the same statements sent
// straight through the database's own client library in the same run.
//
// SQLite always; PostgreSQL too when KZ8MRP_BENCH_PG holds a connection string
// (the benchmark installs the schema there and replaces the rows it uses).
#include <kz8mrp/MRPObject.h>

#include "host/db/Connection.h"
#include "host/db/Pool.h"
#include "host/db/Rows.h"
#include "host/schema/Schema.h"
#include "support/StatementReplay.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>

namespace {

using kz8mrp::OleDate;
using kz8mrp::db::Value;

const OleDate kFirstDay = OleDate::FromParts(2027, 1, 4);
constexpr const char* kJob = "JB-BENCH";
constexpr int kWorkingDays = 250;

// ---- The plant ------------------------------------------------------------------

bool IsHoliday(int day) { return day % 21 == 10 && day / 21 < 12; }  // 12 weekdays off
bool IsReserved(int day) { return day % 5 != 0; }                    // 4 of 5 days busy

void ClearRows(kz8mrp::db::Connection& c) {
  for (const char* table : {"KZ8TSection", "KZ8TEmpHoliday", "KZ8TMPS", "KZ8TMRPStepName",
                            "KZ8TJob", "KZ8TJobMB", "KZ8TJobMethod", "KZ8TSetting"}) {
    c.Execute(std::string("DELETE FROM ") + table);
  }
}

void LoadCalendar(kz8mrp::db::Connection& c) {
  const std::pair<const char*, double> sections[] = {
      {"CUT", 8}, {"ASM", 7.5}, {"PNT", 8}, {"PKG", 6}};
  for (const auto& [code, hours] : sections) {
    kz8mrp::db::InsertRow(c, "KZ8TSection", {{"TSecCode", code}, {"TSecHOffice", hours}});
  }
  kz8mrp::db::InsertRow(c, "KZ8TSetting", {{"TSetKey", "MRPHourPerDay"}, {"TSetValue", "8"}});
  for (int day = 0; day < 400; ++day) {
    const OleDate d = kFirstDay.AddDays(day);
    if (IsHoliday(day)) {
      kz8mrp::db::InsertRow(c, "KZ8TEmpHoliday", {{"TEhdHolidayDate", d}, {"TEhdYear", 2027}});
    } else if (IsReserved(day)) {
      kz8mrp::db::InsertRow(c, "KZ8TMPS",
                            {{"TMPSNo", "OTHER-" + std::to_string(day)},
                             {"TMPSTJStTJbMTJobNo", "OTHER"},
                             {"TMPSTSecCode", "CUT"},
                             {"TMPSStartDate", d.AddHours(8)},
                             {"TMPSEndDate", d.AddHours(12)},
                             {"TMPSHour", 4},
                             {"TMPSReserveType", "WIP"},
                             {"TMPSDate", d},
                             {"TMPSStatus", 1}});
    }
  }
}

// 20 lines of 10 steps on four sections, their planned starts spread over three months.
void LoadJob(kz8mrp::db::Connection& c) {
  const char* sections[] = {"CUT", "ASM", "PNT", "PKG"};
  for (const char* s : sections) {
    kz8mrp::db::InsertRow(c, "KZ8TMRPStepName",
                          {{"TSepCode", std::string("S-") + s}, {"TSepTSecCode", s}});
  }
  kz8mrp::db::InsertRow(c, "KZ8TJob",
                        {{"TJobNo", kJob}, {"TJobTBraCode", "HQ"}, {"TJobDate", kFirstDay}});
  for (int line = 1; line <= 20; ++line) {
    const bool dated = line % 5 != 0;
    kz8mrp::db::InsertRow(
        c, "KZ8TJobMB",
        {{"TJbMTJobNo", kJob},
         {"TJbMLn", line},
         {"TJbMStartDate", dated ? Value(kFirstDay) : Value::Null()},
         {"TJbMSourceDate", dated ? Value(kFirstDay.AddDays(100)) : Value::Null()}});
  }
  for (int s = 0; s < 200; ++s) {
    const double days = 0.5 * (1 + s % 4);
    const int day = s * 90 / 200;
    const OleDate start = kFirstDay.AddDays(day);
    kz8mrp::db::InsertRow(c, "KZ8TJobMethod",
                          {{"TJStTJbMTJobNo", kJob},
                           {"TJStTJbMLn", 1 + s / 10},
                           {"TJStTSpdStep", 1 + s % 10},
                           {"TJStLevel", 1},
                           {"TJStLn", s + 1},
                           {"TJStTSepCode", std::string("S-") + sections[s % 4]},
                           {"TJStEstimateDay", days},
                           {"TJStSetupTime", 30 * (s % 3)},
                           {"TJstPlanStartDate", start},
                           {"TJstPlanEndDate", start.AddDays(days)}});
  }
}

void LoadPlant(const std::string& connection_string) {
  auto c = kz8mrp::db::Connection::Open(connection_string, kz8mrp::db::OpenMode::Create);
  kz8mrp::schema::Install(*c);
  kz8mrp::db::Transaction tx(*c);
  ClearRows(*c);
  LoadCalendar(*c);
  LoadJob(*c);
  tx.Commit();
}

// Days of office hours that the free hours of 250 working days of Cutting add up
// to, less an hour: the walk ends on the 250th working day.
double DurationOf250WorkingDays() {
  double free_hours = 0;
  for (int day = 0, working = 0; working < kWorkingDays; ++day) {
    if (IsHoliday(day)) continue;
    ++working;
    free_hours += IsReserved(day) ? 4 : 8;
  }
  return (free_hours - 1) / 8;
}

// ---- The planner's session on one database ---------------------------------------

struct Session {
  std::string connection_string;
  kz8mrp::AppObj app;
  kz8mrp::ClientObj client{"bench", "BEN", "HQ"};
  kz8mrp::DataObj data{connection_string, app, client};
  kz8mrp::MRPObject engine;
  explicit Session(std::string cs) : connection_string(std::move(cs)) {
    data.SetNow(kFirstDay.AddHours(8));
  }
};

struct Work {
  const char* name;
  std::function<void(Session&)> call;
};

const Work kWork[] = {
    {"GetEndDateTime3/250 working days",
     [](Session& s) {
       const OleDate start = kFirstDay.AddHours(8);
       benchmark::DoNotOptimize(s.engine.GetEndDateTime3(start, start, DurationOf250WorkingDays(),
                                                         "CUT", s.data, s.app, s.client));
     }},
    {"CreateMPSFromJob/200 steps",
     [](Session& s) {
       if (s.engine.CreateMPSFromJob(kJob, s.data, s.app, s.client) != 1) {
         throw std::runtime_error("the job booked nothing");
       }
     }},
};

struct Result {
  double engine_ms = 0, floor_ms = 0, engine_cpu_ms = 0, floor_cpu_ms = 0;
  double engine_statements = 0, floor_statements = 0;
};
std::map<std::string, Result> results;

template <class Replay>
void Register(const std::string& backend, const std::string& cs, Session& session) {
  for (const Work& work : kWork) {
    const std::string key = std::string(work.name) + "/" + backend;
    benchmark::RegisterBenchmark((key + "/engine").c_str(), [&session, &work,
                                                             key](benchmark::State& st) {
      work.call(session);  // warm: connections open, catalog read
      const auto before = kz8mrp::db::StatementsSent();
      for (auto _ : st) work.call(session);
      const double per_call = static_cast<double>(kz8mrp::db::StatementsSent() - before) /
                              static_cast<double>(st.iterations());
      st.counters["statements"] = per_call;
      results[key].engine_statements = per_call;
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((key + "/floor").c_str(), [&session, &work, key,
                                                            cs](benchmark::State& st) {
      work.call(session);
      auto statements = kz8bench::Capture([&] { work.call(session); });
      const auto count = static_cast<double>(statements.size());
      Replay replay(cs, std::move(statements));
      replay.Run();
      for (auto _ : st) replay.Run();
      st.counters["statements"] = count;
      results[key].floor_statements = count;
    })->Unit(benchmark::kMillisecond);
  }
}

// Notes each run's time per call for the summary.
class Reporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const std::string name = run.benchmark_name();
      const auto cut = name.rfind('/');
      Result& r = results[name.substr(0, cut)];
      const bool engine = name.substr(cut + 1) == "engine";
      // In the run's unit, milliseconds.
      (engine ? r.engine_ms : r.floor_ms) = run.GetAdjustedRealTime();
      (engine ? r.engine_cpu_ms : r.floor_cpu_ms) = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

void PrintSummary() {
  std::printf("\n%-42s %10s %10s %10s %10s %6s %6s\n", "work / database", "statements", "engine ms",
              "floor ms", "cpu ms", "real", "cpu");
  std::printf("%-42s %10s %10s %10s %10s %6s %6s\n", "", "eng/floor", "real", "real", "eng/floor",
              "ratio", "ratio");
  for (const auto& [name, r] : results) {
    if (r.floor_ms <= 0 || r.floor_cpu_ms <= 0) continue;
    const std::string statements = std::to_string(static_cast<long>(r.engine_statements)) + "/" +
                                   std::to_string(static_cast<long>(r.floor_statements));
    const std::string cpu = std::to_string(std::lround(r.engine_cpu_ms)) + "/" +
                            std::to_string(std::lround(r.floor_cpu_ms));
    std::printf("%-42s %10s %10.2f %10.2f %10s %6.2f %6.2f\n", name.c_str(), statements.c_str(),
                r.engine_ms, r.floor_ms, cpu.c_str(), r.engine_ms / r.floor_ms,
                r.engine_cpu_ms / r.floor_cpu_ms);
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     ("kz8mrp-bench-" + std::to_string(::getpid()) + ".db");
  int status = 0;
  {
    LoadPlant(file.string());
    Session sqlite(file.string());
    Register<kz8bench::SqliteReplay>("SQLite", file.string(), sqlite);

    std::unique_ptr<Session> postgres;
    if (const char* pg = std::getenv("KZ8MRP_BENCH_PG"); pg && *pg) {
      try {
        LoadPlant(pg);
        postgres = std::make_unique<Session>(pg);
        Register<kz8bench::PostgresReplay>("PostgreSQL", pg, *postgres);
      } catch (const std::exception& e) {
        std::cerr << "PostgreSQL left out: " << e.what() << '\n';
        status = 1;
      }
    }
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintSummary();
  }
  kz8mrp::db::ClearPool();
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(file.string() + suffix);
  benchmark::Shutdown();
  return status;
}
