#include "support/EngineVsFloor.h"

#include "host/db/Connection.h"
#include "host/db/Pool.h"
#include "support/StatementReplay.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace kz8bench {

Session::Session(std::string cs, kz8mrp::OleDate now) : connection_string(std::move(cs)) {
  data.SetNow(now);
}

void InTransaction(Session& s, const std::function<void()>& call) {
  s.data.BeginTrans();
  try {
    call();
  } catch (...) {
    s.data.RollbackTrans();
    throw;
  }
  s.data.CommitTrans();
}

namespace {

// "AdjustJOB2TR/1000 lines": a call timed at several sizes.
struct Sized {
  std::string call;
  long size = 0;
};

std::optional<Sized> SizeOf(const std::string& work_name) {
  const auto cut = work_name.find('/');
  if (cut == std::string::npos) return std::nullopt;
  const std::string rest = work_name.substr(cut + 1);
  char* end = nullptr;
  const long size = std::strtol(rest.c_str(), &end, 10);
  if (end == rest.c_str() || *end != ' ' || rest.find('/') != std::string::npos) {
    return std::nullopt;
  }
  return Sized{work_name.substr(0, cut), size};
}

struct Result {
  double engine_ms = 0, floor_ms = 0, engine_cpu_ms = 0, floor_cpu_ms = 0;
  double engine_statements = 0, floor_statements = 0;
};
std::map<std::string, Result> results;
// "AdjustJOB2TR/PostgreSQL" -> 1000 -> ("1000->4000 lines", the engine's growth).
std::map<std::string, std::map<long, std::pair<std::string, double>>> growth;
// A pair's benchmark name -> where its growth goes in `growth`.
struct GrowthPlace {
  std::string series;
  long from = 0;
  std::string step;
};
std::map<std::string, GrowthPlace> growth_places;

// A call that fails (a walk that gives up) shows as an error, not a crash.
template <class Body>
void Guarded(benchmark::State& st, const Body& body) {
  try {
    body();
  } catch (const std::exception& e) {
    st.SkipWithError(e.what());
  }
}

bool vacuum_between_calls = false;

// On PostgreSQL a call that replaces thousands of rows leaves them behind as
// dead versions until a vacuum comes by, and when one comes decides the time
// of the calls after it. Where the program asks, a vacuum before every call
// (untimed, uncounted) lets engine and floor meet the same tables.
void Settle(benchmark::State& st, Session& session) {
  if (!vacuum_between_calls) return;
  if (session.data.Connection().kind() != kz8mrp::db::Kind::PostgreSQL) return;
  st.PauseTiming();
  session.data.Connection().backend().ExecuteScript("VACUUM ANALYZE");
  st.ResumeTiming();
}

void TimeEngine(benchmark::State& st, Session& session, const Work& work, const std::string& key) {
  if (work.prepare) work.prepare(session);
  work.call(session);  // warm: connections open, catalog read
  const auto before = kz8mrp::db::StatementsSent();
  for (auto _ : st) {
    Settle(st, session);
    work.call(session);
  }
  const double per_call = static_cast<double>(kz8mrp::db::StatementsSent() - before) /
                          static_cast<double>(st.iterations());
  st.counters["statements"] = per_call;
  results[key].engine_statements = per_call;
}

template <class Replay>
void TimeFloor(benchmark::State& st, Session& session, const Work& work, const std::string& key,
               const std::string& cs) {
  if (work.prepare) work.prepare(session);
  work.call(session);
  auto statements = Capture([&] { work.call(session); });
  const auto count = static_cast<double>(statements.size());
  Replay replay(cs, std::move(statements));
  replay.Run();
  for (auto _ : st) {
    Settle(st, session);
    replay.Run();
  }
  st.counters["statements"] = count;
  results[key].floor_statements = count;
}

double TimedCall(benchmark::State& st, Session& session, const Work& work) {
  Settle(st, session);
  const auto start = std::chrono::steady_clock::now();
  work.call(session);
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

// A call at two sizes, one right after the other, again and again: a
// machine that slows for a while slows both alike, so their ratio is the
// growth of the work itself.
void TimeGrowth(benchmark::State& st, Session& session, const Work& small, const Work& large) {
  for (const Work* w : {&small, &large}) {
    if (w->prepare) w->prepare(session);
    w->call(session);
  }
  double small_ms = 0;
  double large_ms = 0;
  for (auto _ : st) {
    small_ms += TimedCall(st, session, small);
    large_ms += TimedCall(st, session, large);
  }
  st.counters["growth"] = large_ms / small_ms;
}

constexpr int kGrowthPairs = 4;

// Each work at a size next to the same call at the size before it.
void RegisterGrowth(const std::string& backend, Session& session, const std::vector<Work>& work) {
  std::map<std::string, std::map<long, const Work*>> sizes;
  for (const Work& w : work) {
    if (const auto sized = SizeOf(w.name)) sizes[sized->call][sized->size] = &w;
  }
  for (const auto& [call, by_size] : sizes) {
    auto a = by_size.begin();
    for (auto b = std::next(a); b != by_size.end(); a = b++) {
      std::string step = std::to_string(a->first);
      step.append("->")
          .append(std::to_string(b->first))
          .append(b->second->name.substr(b->second->name.find(' ')));  // " lines"
      std::string series = call;
      series.append("/").append(backend);
      std::string name = call;
      name.append("/").append(step).append("/").append(backend).append("/growth");
      growth_places[name] = {std::move(series), a->first, step};
      const Work* small = a->second;
      const Work* large = b->second;
      benchmark::RegisterBenchmark(name.c_str(),
                                   [&session, small, large](benchmark::State& st) {
                                     Guarded(st, [&] { TimeGrowth(st, session, *small, *large); });
                                   })
          ->Unit(benchmark::kMillisecond)
          ->Iterations(kGrowthPairs);
    }
  }
}

template <class Replay>
void Register(const std::string& backend, const std::string& cs, Session& session,
              const std::vector<Work>& work) {
  for (const Work& w : work) {
    const std::string key = w.name + "/" + backend;
    benchmark::RegisterBenchmark((key + "/engine").c_str(), [&session, &w,
                                                             key](benchmark::State& st) {
      Guarded(st, [&] { TimeEngine(st, session, w, key); });
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((key + "/floor").c_str(), [&session, &w, key,
                                                            cs](benchmark::State& st) {
      Guarded(st, [&] { TimeFloor<Replay>(st, session, w, key, cs); });
    })->Unit(benchmark::kMillisecond);
  }
  RegisterGrowth(backend, session, work);
}

// Notes each run's time per call for the summary.
class Reporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      // Repeated (--benchmark_repetitions), a work's median stands for it: a
      // server's checkpoint or a vacuum in one repetition does not.
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      const std::string& name = run.run_name.function_name;
      const auto cut = name.rfind('/');
      if (const auto place = growth_places.find(name); place != growth_places.end()) {
        const GrowthPlace& p = place->second;
        growth[p.series][p.from] = {p.step, run.counters.at("growth")};
        continue;
      }
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
  std::printf("\n%-48s %12s %10s %10s %12s %6s %6s\n", "work / database", "statements", "engine ms",
              "floor ms", "cpu ms", "real", "cpu");
  std::printf("%-48s %12s %10s %10s %12s %6s %6s\n", "", "eng/floor", "real", "real", "eng/floor",
              "ratio", "ratio");
  for (const auto& [name, r] : results) {
    if (r.floor_ms <= 0 || r.floor_cpu_ms <= 0) continue;
    const std::string statements = std::to_string(static_cast<long>(r.engine_statements)) + "/" +
                                   std::to_string(static_cast<long>(r.floor_statements));
    const std::string cpu = std::to_string(std::lround(r.engine_cpu_ms)) + "/" +
                            std::to_string(std::lround(r.floor_cpu_ms));
    std::printf("%-48s %12s %10.2f %10.2f %12s %6.2f %6.2f\n", name.c_str(), statements.c_str(),
                r.engine_ms, r.floor_ms, cpu.c_str(), r.engine_ms / r.floor_ms,
                r.engine_cpu_ms / r.floor_cpu_ms);
  }
}

// How much longer each call takes at each size than at the size before it,
// timed in pairs: work that grows with the size grows its time by the same
// factor, no more.
void PrintGrowth() {
  if (growth.empty()) return;
  std::printf("\n%-40s %s\n", "growth / database", "engine time, larger size against smaller");
  for (const auto& [series, steps] : growth) {
    std::printf("%-40s", series.c_str());
    for (const auto& [from, step] : steps) {
      std::printf("  %s: %.2f", step.first.c_str(), step.second);
    }
    std::printf("\n");
  }
}

// A machine shared with others runs slower for a minute now and then. Runs of
// every size, shuffled together, meet such a minute alike, so the growth from
// one size to the next is not a matter of which size ran when.
struct Arguments {
  std::vector<std::string> added;
  std::vector<char*> argv;

  Arguments(int argc, char** argv_in, int repetitions) : argv(argv_in, argv_in + argc) {
    const bool chosen = std::any_of(argv.begin(), argv.end(), [](const char* a) {
      return std::string_view(a).rfind("--benchmark_repetitions", 0) == 0;
    });
    if (repetitions > 1 && !chosen) {
      added = {"--benchmark_repetitions=" + std::to_string(repetitions),
               "--benchmark_enable_random_interleaving=true"};
    }
    for (std::string& a : added) argv.push_back(a.data());
    argv.push_back(nullptr);
  }
  int count() const { return static_cast<int>(argv.size()) - 1; }
};

}  // namespace

int Run(int argc, char** argv, const Program& program) {
  Arguments args(argc, argv, program.repetitions);
  int count = args.count();
  benchmark::Initialize(&count, args.argv.data());
  vacuum_between_calls = program.vacuum_between_calls;
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     ("kz8mrp-bench-" + std::to_string(::getpid()) + ".db");
  int status = 0;
  {
    program.load(file.string());
    Session sqlite(file.string(), program.now);
    Register<SqliteReplay>("SQLite", file.string(), sqlite, program.work);

    std::unique_ptr<Session> postgres;
    if (const char* pg = std::getenv("KZ8MRP_BENCH_PG"); pg && *pg) {
      try {
        program.load(pg);
        postgres = std::make_unique<Session>(pg, program.now);
        Register<PostgresReplay>("PostgreSQL", pg, *postgres, program.work);
      } catch (const std::exception& e) {
        std::cerr << "PostgreSQL left out: " << e.what() << '\n';
        status = 1;
      }
    }
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintSummary();
    PrintGrowth();
  }
  kz8mrp::db::ClearPool();
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(file.string() + suffix);
  benchmark::Shutdown();
  return status;
}

}  // namespace kz8bench
