// A small plant to plan on: three work sections, the settings of a Thai
// factory's working week, the holidays of January 2027, and a job whose
// routing steps the schedule demonstration books.
#include "cli/Commands.h"
#include "host/db/Rows.h"
#include "host/services/SettingTools.h"

namespace kz8mrp::cli {
namespace {

using db::Value;

void LoadSections(db::Connection& c) {
  struct Section {
    const char* code;
    const char* name;
    double office, ot1, ot2, two_shifts, full_day;
  };
  // Painting keeps no hours of its own: it works on the plant's settings.
  const Section sections[] = {
      {"CUT", "Cutting", 8, 10, 12, 16, 24},
      {"ASM", "Assembly", 7.5, 0, 0, 15, 0},
      {"PNT", "Painting", 0, 0, 0, 0, 0},
  };
  for (const Section& s : sections) {
    db::WriteRow(c, "KZ8TSection",
                 {{"TSecCode", s.code},
                  {"TSecName", s.name},
                  {"TSecHOffice", s.office},
                  {"TSecHWithOT1", s.ot1},
                  {"TSecHWithOT2", s.ot2},
                  {"TSecH2Shift", s.two_shifts},
                  {"TSecHFullDay", s.full_day}});
  }
}

void LoadSettings(db::Connection& c) {
  const std::pair<const char*, const char*> settings[] = {
      {"MRPHourPerDay", "8"},
      {"MRPHourPerDayWithOT1", "11"},
      {"MRPHourPerDayWithOT2", "13"},
  };
  for (const auto& [key, value] : settings) {
    host::SettingTools().Put(key, value, c);
  }
}

void LoadHolidays(db::Connection& c) {
  // New Year's Day and the weekends of January 2027; the 15th was once a
  // holiday and has been switched off (year 0).
  db::WriteRow(c, "KZ8TEmpHoliday", {{"TEhdHolidayDate", "2027-01-01"}, {"TEhdYear", 2027}});
  for (int day = 2; day <= 31; ++day) {
    const OleDate d = OleDate::FromParts(2027, 1, day);
    if (d.DayOfWeek() == 0 || d.DayOfWeek() == 6) {
      db::WriteRow(c, "KZ8TEmpHoliday", {{"TEhdHolidayDate", Value(d)}, {"TEhdYear", 2027}});
    }
  }
  db::WriteRow(c, "KZ8TEmpHoliday", {{"TEhdHolidayDate", "2027-01-15"}, {"TEhdYear", 0}});
}

// ---- The job the machine schedule is booked from --------------------------------

void LoadStepNames(db::Connection& c) {
  const std::pair<const char*, const char*> steps[] = {
      {"SAW", "CUT"}, {"GLUE", "ASM"}, {"COAT", "PNT"}};
  for (const auto& [code, section] : steps) {
    db::WriteRow(c, "KZ8TMRPStepName",
                 {{"TSepCode", code}, {"TSepName", code}, {"TSepTSecCode", section}});
  }
}

// Oak stools (line 1: saw, glue, coat) and a table top (line 2: saw only, not
// yet dated, so it gets no finished-goods booking).
void LoadScheduleJob(db::Connection& c) {
  const char* job = kDemoScheduleJob;
  db::WriteRow(c, "KZ8TJob",
               {{"TJobNo", job},
                {"TJobTBraCode", "HQ"},
                {"TJobDate", Value(OleDate::FromParts(2027, 1, 4))},
                {"TJobDescription", "Oak stools and a table top"}});
  db::WriteRow(c, "KZ8TJobMB",
               {{"TJbMTJobNo", job},
                {"TJbMLn", 1},
                {"TJbMProductName", "Oak stool"},
                {"TJbMStartDate", Value(OleDate::FromParts(2027, 1, 4))},
                {"TJbMSourceDate", Value(OleDate::FromParts(2027, 1, 15))}});
  db::WriteRow(c, "KZ8TJobMB",
               {{"TJbMTJobNo", job}, {"TJbMLn", 2}, {"TJbMProductName", "Table top"}});
  struct Step {
    int line, step_line;
    const char* step_name;
    double days, setup_minutes;
    OleDate start, end;
  };
  const Step steps[] = {
      {1, 1, "SAW", 1.5, 0, OleDate::FromParts(2027, 1, 4), OleDate::FromParts(2027, 1, 5, 12)},
      {1, 2, "GLUE", 1, 0, OleDate::FromParts(2027, 1, 6), OleDate::FromParts(2027, 1, 7)},
      {1, 3, "COAT", 2, 60, OleDate::FromParts(2027, 1, 7), OleDate::FromParts(2027, 1, 9)},
      {2, 4, "SAW", 0.5, 0, OleDate::FromParts(2027, 1, 4), OleDate::FromParts(2027, 1, 4, 12)},
  };
  for (const Step& s : steps) {
    db::WriteRow(c, "KZ8TJobMethod",
                 {{"TJStTJbMTJobNo", job},
                  {"TJStTJbMLn", s.line},
                  {"TJStTSpdStep", s.step_line},
                  {"TJStLevel", 1},
                  {"TJStLn", s.step_line},
                  {"TJStTSepCode", s.step_name},
                  {"TJStEstimateDay", s.days},
                  {"TJStSetupTime", s.setup_minutes},
                  {"TJstPlanStartDate", Value(s.start)},
                  {"TJstPlanEndDate", Value(s.end)}});
  }
}

// The demonstration week starts with an empty machine schedule.
void ClearScheduleWeek(db::Connection& c) {
  c.Execute(
      "DELETE FROM KZ8TMPS WHERE TMPSDate>='2027-01-04 00:00:00' AND "
      "TMPSDate<='2027-01-10 00:00:00'");
}

}  // namespace

void LoadDemoPlant(db::Connection& connection) {
  db::Transaction tx(connection);
  LoadSections(connection);
  LoadSettings(connection);
  LoadHolidays(connection);
  LoadStepNames(connection);
  LoadScheduleJob(connection);
  ClearScheduleWeek(connection);
  LoadDemoSalesOrders(connection);
  LoadDemoOrders(connection);
  LoadDemoExplosion(connection);
  tx.Commit();
}

}  // namespace kz8mrp::cli
