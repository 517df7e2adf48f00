#include "Plant.h"

#include "common/Text.h"
#include "host/Sql.h"

namespace kz8test {

using kz8mrp::db::Value;

namespace {
Value Optional(const std::optional<OleDate>& d) { return d ? Value(*d) : Value::Null(); }
}  // namespace

// A row's columns run on, a few to a line.
// clang-format off
void PlantTest::Section(const std::string& code, double office_hours) {
  Insert("KZ8TSection", {{"TSecCode", code}, {"TSecName", code}, {"TSecHOffice", office_hours}});
}

void PlantTest::StepName(const std::string& code, const std::string& section) {
  Insert("KZ8TMRPStepName", {{"TSepCode", code}, {"TSepName", code}, {"TSepTSecCode", section}});
}

void PlantTest::Holiday(OleDate day, int year) {
  Insert("KZ8TEmpHoliday", {{"TEhdHolidayDate", day}, {"TEhdYear", year}});
}

void PlantTest::Reserve(const Reservation& r) {
  Insert("KZ8TMPS", {{"TMPSNo", "R" + std::to_string(++next_reservation_)}, {"TMPSTJStTJbMTJobNo", r.job},
                     {"TMPSTJStTJbMLn", r.line}, {"TMPSTSecCode", r.section}, {"TMPSStartDate", r.start},
                     {"TMPSEndDate", r.start.AddHours(r.hours)}, {"TMPSHour", r.hours}, {"TMPSReserveType", r.type},
                     {"TMPSDate", r.start.CalendarDay()}, {"TMPSStatus", r.status}});
}

void PlantTest::ReserveWithoutHours(const std::string& section, OleDate start) {
  Reserve({section, start, 0});
  Exec("UPDATE KZ8TMPS SET TMPSHour=NULL WHERE TMPSNo='R" + std::to_string(next_reservation_) + "'");
}

void PlantTest::Job(const std::string& job_no, const std::string& branch, std::optional<OleDate> date) {
  Insert("KZ8TJob", {{"TJobNo", job_no}, {"TJobTBraCode", branch}, {"TJobDate", Optional(date)}});
}

void PlantTest::JobLine(const std::string& job_no, int line, std::optional<OleDate> start,
                        std::optional<OleDate> source) {
  Insert("KZ8TJobMB", {{"TJbMTJobNo", job_no}, {"TJbMLn", line}, {"TJbMStartDate", Optional(start)},
                       {"TJbMSourceDate", Optional(source)}});
}

void PlantTest::Step(const std::string& job_no, const JobStep& s) {
  Insert("KZ8TJobMethod", {{"TJStTJbMTJobNo", job_no}, {"TJStTJbMLn", s.line}, {"TJStTSpdStep", s.step_line * 10},
                           {"TJStLevel", 1}, {"TJStLn", s.step_line}, {"TJStTSepCode", s.step_name},
                           {"TJStEstimateDay", s.estimate_days}, {"TJStSetupTime", s.setup_minutes},
                           {"TJstPlanStartDate", Optional(s.plan_start)}, {"TJstPlanEndDate", Optional(s.plan_end)}});
}
// clang-format on

std::vector<std::string> PlantTest::Schedule(const std::string& job_no) {
  const auto rs = Query(
      "SELECT TMPSReserveType,TMPSTSecCode,TMPSStartDate,TMPSHour,TMPSTJStTJbMLn,TMPSTJStLn,"
      "TMPSStatus FROM KZ8TMPS WHERE TMPSTJStTJbMTJobNo=" +
      kz8mrp::sql::Text(job_no) + " ORDER BY TMPSNo");
  std::vector<std::string> lines;
  for (const auto& r : rs.rows) {
    lines.push_back(r[0].AsText() + " " + r[1].AsText() + " " + r[2].AsText().substr(0, 16) + " +" +
                    kz8mrp::text::NumberText(r[3].AsNumber()) + " line " + r[4].AsText() + "/" +
                    r[5].AsText() + (r[6].AsNumber() == 1 ? " active" : " cancelled"));
  }
  return lines;
}

int PlantTest::ReservationCount(const std::string& condition) {
  return std::stoi(Scalar("SELECT COUNT(*) FROM KZ8TMPS WHERE " + condition));
}

}  // namespace kz8test
