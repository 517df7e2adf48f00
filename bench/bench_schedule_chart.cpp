// Drawing the machine schedule page and the MRP page: time and page size
// against the number of reservations or products, at two sizes, so that
// growth shows.
#include "cli/MrpChart.h"
#include "cli/ScheduleChart.h"

#include <benchmark/benchmark.h>

namespace {

using kz8mrp::OleDate;
using kz8mrp::cli::Schedule;

// Three months of three sections, `count` reservations spread over them.
Schedule Plant(int count) {
  const OleDate first = OleDate::FromParts(2027, 1, 1);
  Schedule s{{first, first.AddDays(89)}, {}, {}};
  for (const char* code : {"CUT", "ASM", "PNT"}) s.sections.push_back({code, "แผนก", 8, {}});
  for (int i = 0; i < count; ++i) {
    const OleDate start = first.AddDays(i % 90).AddHours(8 + i % 7);
    s.sections[static_cast<std::size_t>(i % 3)].reservations.push_back(
        {"MPS-" + std::to_string(i), "WIP", "JOB-1", 1, i, start, start.AddHours(2), 2, false});
  }
  for (int d = 0; d < 90; d += 7) s.holidays.push_back(first.AddDays(d));
  return s;
}

void BM_ScheduleChartPage(benchmark::State& state) {
  const Schedule schedule = Plant(static_cast<int>(state.range(0)));
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string page = kz8mrp::cli::ScheduleChartPage(schedule);
    bytes = page.size();
    benchmark::DoNotOptimize(page.data());
  }
  state.counters["page_bytes"] = static_cast<double>(bytes);
  state.counters["per_reservation_ns"] = benchmark::Counter(
      static_cast<double>(state.range(0)),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ScheduleChartPage)->Arg(1000)->Arg(8000)->Unit(benchmark::kMillisecond);

// A year of `count` products, each received every week and required every
// third day, so that the balance moves every day and often runs short.
kz8mrp::cli::MrpRun Year(int count) {
  const OleDate first = OleDate::FromParts(2027, 1, 1);
  kz8mrp::cli::MrpRun run{{first, first.AddDays(364)}, {}};
  for (int p = 0; p < count; ++p) {
    run.products.push_back({"P-" + std::to_string(p), "ไม้อัด", {}});
    double closing = 0;
    for (int d = 0; d < 365; ++d) {
      const double received = (d + p) % 7 == 0 ? 20 : 0, required = d % 3 == 0 ? 7 : 0;
      closing += received - required;
      run.products.back().days.push_back({first.AddDays(d), closing, received, required});
    }
  }
  return run;
}

void BM_MrpChartPage(benchmark::State& state) {
  const kz8mrp::cli::MrpRun run = Year(static_cast<int>(state.range(0)));
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string page = kz8mrp::cli::MrpChartPage(run);
    bytes = page.size();
    benchmark::DoNotOptimize(page.data());
  }
  state.counters["page_bytes"] = static_cast<double>(bytes);
  state.counters["per_product_s"] = benchmark::Counter(
      static_cast<double>(state.range(0)),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MrpChartPage)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
