// What the calendar costs: stepping a piece of work over 250 working days of a
// busy section, and booking the machine schedule of a 200-step job and of one
// job line of 400 and of 800 steps queued on three sections. Each is
// timed through the engine and against its floor, the same statements sent
// straight through the database's own client library in the same run.
//
// SQLite always; PostgreSQL too when KZ8MRP_BENCH_PG holds a connection string
// (the benchmark installs the schema there and replaces the rows it uses).
#include <kz8mrp/MRPObject.h>

#include "host/db/Connection.h"
#include "host/db/Rows.h"
#include "host/schema/Schema.h"
#include "support/EngineVsFloor.h"

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>
#include <vector>

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

// One line of `steps` steps of two days, on Cutting, Assembly and Painting in
// turn, all planned for the first day: each section's steps queue behind the
// line's earlier ones, 800 steps filling 534 days of Painting.
std::string LongLineJob(int steps) { return "JB-LINE-" + std::to_string(steps); }

void LoadLongLine(kz8mrp::db::Connection& c, int steps) {
  const std::string job = LongLineJob(steps);
  kz8mrp::db::InsertRow(c, "KZ8TJob",
                        {{"TJobNo", job}, {"TJobTBraCode", "HQ"}, {"TJobDate", kFirstDay}});
  kz8mrp::db::InsertRow(c, "KZ8TJobMB",
                        {{"TJbMTJobNo", job},
                         {"TJbMLn", 1},
                         {"TJbMStartDate", kFirstDay},
                         {"TJbMSourceDate", kFirstDay.AddDays(700)}});
  const char* sections[] = {"CUT", "ASM", "PNT"};
  for (int s = 0; s < steps; ++s) {
    kz8mrp::db::InsertRow(c, "KZ8TJobMethod",
                          {{"TJStTJbMTJobNo", job},
                           {"TJStTJbMLn", 1},
                           {"TJStTSpdStep", s + 1},
                           {"TJStLevel", 1},
                           {"TJStLn", s + 1},
                           {"TJStTSepCode", std::string("S-") + sections[s % 3]},
                           {"TJStEstimateDay", 2},
                           {"TJstPlanStartDate", kFirstDay},
                           {"TJstPlanEndDate", kFirstDay.AddDays(2)}});
  }
}

constexpr int kLongLines[] = {400, 800};

void LoadPlant(const std::string& connection_string) {
  auto c = kz8mrp::db::Connection::Open(connection_string, kz8mrp::db::OpenMode::Create);
  kz8mrp::schema::Install(*c);
  kz8mrp::db::Transaction tx(*c);
  ClearRows(*c);
  LoadCalendar(*c);
  LoadJob(*c);
  for (const int steps : kLongLines) LoadLongLine(*c, steps);
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

void BookJob(kz8bench::Session& s, const std::string& job) {
  if (s.engine.CreateMPSFromJob(job, s.data, s.app, s.client) != 1) {
    throw std::runtime_error("the job booked nothing");
  }
}

std::vector<kz8bench::Work> Calls() {
  std::vector<kz8bench::Work> work = {
      {"GetEndDateTime3/250 working days",
       [](kz8bench::Session& s) {
         const OleDate start = kFirstDay.AddHours(8);
         benchmark::DoNotOptimize(s.engine.GetEndDateTime3(start, start, DurationOf250WorkingDays(),
                                                           "CUT", s.data, s.app, s.client));
       }},
      {"CreateMPSFromJob/200 steps", [](kz8bench::Session& s) { BookJob(s, kJob); }},
  };
  for (const int steps : kLongLines) {
    work.push_back({"CreateMPSFromJob/one line of " + std::to_string(steps) + " steps",
                    [steps](kz8bench::Session& s) { BookJob(s, LongLineJob(steps)); }});
  }
  return work;
}

}  // namespace

int main(int argc, char** argv) {
  return kz8bench::Run(argc, argv, {LoadPlant, Calls(), kFirstDay.AddHours(8)});
}
