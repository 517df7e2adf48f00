// A small plant to plan on, built in a few lines: sections, holidays, schedule
// reservations, and jobs with their routing steps.
#pragma once

#include "common/Text.h"
#include "host/Sql.h"
#include "support/TestDb.h"

#include <optional>
#include <string>
#include <vector>

namespace kz8test {

using kz8mrp::OleDate;
using kz8mrp::db::Value;

// 2027-01-04 is a Monday; the fixture's clock stands at 09:00 that day.
inline OleDate Jan(int day, int hour = 0, int minute = 0) {
  return OleDate::FromParts(2027, 1, day, hour, minute);
}

struct Reservation {
  std::string section;
  OleDate start;
  double hours;
  std::string type = "WIP", job{};
  int line = 0, status = 1;
};

struct JobStep {
  int line, step_line;
  std::string step_name;
  double estimate_days;
  std::optional<OleDate> plan_start{}, plan_end{};
  double setup_minutes = 0;
};

// A row's columns run on, a few to a line.
// clang-format off
class PlantTest : public DbTest {
 protected:
  static Value Optional(const std::optional<OleDate>& d) { return d ? Value(*d) : Value::Null(); }
  void Section(const std::string& code, double office_hours) {
    Insert("KZ8TSection", {{"TSecCode", code}, {"TSecName", code}, {"TSecHOffice", office_hours}});
  }
  // A step name worked by a section.
  void StepName(const std::string& code, const std::string& section) {
    Insert("KZ8TMRPStepName", {{"TSepCode", code}, {"TSepName", code}, {"TSepTSecCode", section}});
  }
  void Holiday(OleDate day, Value year = 2027) {
    Insert("KZ8TEmpHoliday", {{"TEhdHolidayDate", day}, {"TEhdYear", std::move(year)}});
  }
  // A reservation as another workstation booked it (end = start + hours).
  void Reserve(const Reservation& r) {
    Insert("KZ8TMPS", {{"TMPSNo", "R" + std::to_string(++next_reservation_)}, {"TMPSTJStTJbMTJobNo", r.job},
                       {"TMPSTJStTJbMLn", r.line}, {"TMPSTSecCode", r.section}, {"TMPSStartDate", r.start},
                       {"TMPSEndDate", r.start.AddHours(r.hours)}, {"TMPSHour", r.hours}, {"TMPSReserveType", r.type},
                       {"TMPSDate", r.start.CalendarDay()}, {"TMPSStatus", r.status}});
  }
  void Job(const std::string& job_no, const std::string& branch = "HQ", std::optional<OleDate> date = Jan(2)) {
    Insert("KZ8TJob", {{"TJobNo", job_no}, {"TJobTBraCode", branch}, {"TJobDate", Optional(date)}});
  }
  // A job line; without a start (or source) date it gets no finished-goods booking.
  void JobLine(const std::string& job_no, int line, std::optional<OleDate> start = Jan(4),
               std::optional<OleDate> source = Jan(15)) {
    Insert("KZ8TJobMB", {{"TJbMTJobNo", job_no}, {"TJbMLn", line}, {"TJbMStartDate", Optional(start)},
                         {"TJbMSourceDate", Optional(source)}});
  }
  void Step(const std::string& job_no, const JobStep& s) {
    Insert("KZ8TJobMethod", {{"TJStTJbMTJobNo", job_no}, {"TJStTJbMLn", s.line}, {"TJStTSpdStep", s.step_line * 10},
                             {"TJStLevel", 1}, {"TJStLn", s.step_line}, {"TJStTSepCode", s.step_name},
                             {"TJStEstimateDay", s.estimate_days}, {"TJStSetupTime", s.setup_minutes},
                             {"TJstPlanStartDate", Optional(s.plan_start)}, {"TJstPlanEndDate", Optional(s.plan_end)}});
  }
  // clang-format on

  // The job's reservations in booking order, one readable line each:
  // "WIP CUT 2027-01-04 08:00 +8 line 1/1 active".
  std::vector<std::string> Schedule(const std::string& job_no) {
    std::vector<std::string> lines;
    for (const auto& r : Query("SELECT TMPSReserveType,TMPSTSecCode,TMPSStartDate,TMPSHour,"
                               "TMPSTJStTJbMLn,TMPSTJStLn,TMPSStatus FROM KZ8TMPS WHERE "
                               "TMPSTJStTJbMTJobNo=" +
                               kz8mrp::sql::Text(job_no) + " ORDER BY TMPSNo")
                             .rows) {
      lines.push_back(r[0].AsText() + " " + r[1].AsText() + " " + r[2].AsText().substr(0, 16) +
                      " +" + kz8mrp::text::NumberText(r[3].AsNumber()) + " line " + r[4].AsText() +
                      "/" + r[5].AsText() + (r[6].AsNumber() == 1 ? " active" : " cancelled"));
    }
    return lines;
  }
  int ReservationCount(const std::string& condition = "1=1") {
    return std::stoi(Scalar("SELECT COUNT(*) FROM KZ8TMPS WHERE " + condition));
  }

 private:
  int next_reservation_ = 0;
};

}  // namespace kz8test
