#include "cli/ScheduleData.h"

#include <kz8mrp/MRPObject.h>

#include "cli/Usage.h"
#include "host/Sql.h"
#include "host/db/Connection.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace kz8mrp::cli {
namespace {

constexpr int kMaxYears = 5;

OleDate ReadDay(const std::string& option, const std::string& text) {
  try {
    return OleDate::Parse(text).CalendarDay();
  } catch (const Error& e) {
    throw UsageError(option + ": " + e.what());
  }
}

std::string DateLiteral(OleDate d) { return "#$" + d.ToString() + "#$"; }

Reservation ReadReservation(const std::vector<db::Value>& r) {
  Reservation v;
  v.no = r[0].AsText();
  v.start = r[2].AsDate();
  v.end = r[3].AsDate();
  v.hours = r[4].AsNumber();
  v.type = r[5].AsText();
  v.job = r[6].AsText();
  v.line = std::lround(r[7].AsNumber());
  v.step = std::lround(r[8].AsNumber());
  v.cancelled = r[9].AsNumber() != 1;
  if (v.end < v.start) std::swap(v.start, v.end);  // negative hours are stored as given
  return v;
}

// Sections by code: the master's, then codes only reservations carry.
std::map<std::string, SectionSchedule> ReadSections(db::Connection& c) {
  std::map<std::string, SectionSchedule> sections;
  for (const auto& r : c.Query("SELECT TSecCode,TSecName FROM KZ8TSection").rows) {
    sections[r[0].AsText()] = SectionSchedule{r[0].AsText(), r[1].AsText(), 0, {}};
  }
  return sections;
}

std::vector<SectionSchedule> Chosen(std::map<std::string, SectionSchedule> sections,
                                    const std::vector<std::string>& only) {
  std::vector<SectionSchedule> chosen;
  if (only.empty()) {
    for (auto& [code, s] : sections) chosen.push_back(std::move(s));
    return chosen;
  }
  for (const std::string& code : only) {
    auto it = sections.find(code);
    if (it == sections.end()) throw UsageError("--section " + code + ": no such section");
    chosen.push_back(std::move(it->second));
  }
  return chosen;
}

}  // namespace

int DayRange::Days() const { return static_cast<int>(std::lround(End().DaysSince(first))); }

DayRange ReadDayRange(const std::string& from, const std::string& to) {
  const DayRange range{ReadDay("--from", from), ReadDay("--to", to)};
  if (range.last < range.first) {
    throw UsageError("the range starts after it ends: " + range.first.DateText() + " to " +
                     range.last.DateText());
  }
  const OleDate::Parts p = range.first.Split();
  const OleDate limit = OleDate::FromParts(p.year + kMaxYears, p.month, std::min(p.day, 28));
  if (!(range.last < limit)) throw UsageError("a range of more than five years is too long");
  return range;
}

const char* WeekdayName(OleDate day) {
  static const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  return kWeekdays[day.DayOfWeek()];
}

const char* KindName(const std::string& type) {
  if (type == "WIP") return "production";
  if (type == "FG") return "finished goods";
  if (type == "HD") return "section holiday";
  if (type == "MM") return "maintenance";
  return "other";
}

std::string JobText(const Reservation& r) {
  if (r.job.empty() || r.line == 0) return r.job;
  return r.job + " line " + std::to_string(r.line) + " step " + std::to_string(r.step);
}

Schedule ReadSchedule(MRPObject& engine, DataObj& data, const DayRange& range,
                      const std::vector<std::string>& only) {
  db::Connection& c = data.Connection();
  std::map<std::string, SectionSchedule> sections = ReadSections(c);
  const auto rows = c.Query(sql::ConvertDateMarkers(
      "SELECT TMPSNo,TMPSTSecCode,TMPSStartDate,TMPSEndDate,TMPSHour,TMPSReserveType,"
      "TMPSTJStTJbMTJobNo,TMPSTJStTJbMLn,TMPSTJStLn,TMPSStatus FROM KZ8TMPS WHERE TMPSStartDate<" +
      DateLiteral(range.End()) + " AND TMPSEndDate>=" + DateLiteral(range.first) +
      " ORDER BY TMPSStartDate,TMPSNo"));
  for (const auto& r : rows.rows) {
    SectionSchedule& s = sections[r[1].AsText()];
    s.code = r[1].AsText();
    s.reservations.push_back(ReadReservation(r));
  }
  Schedule schedule{range, Chosen(std::move(sections), only), {}};
  for (SectionSchedule& s : schedule.sections) {
    s.office_hours = engine.GETHourPerDay(KZ8HourTypeOffice, s.code, data);
  }
  for (const auto& r :
       c.Query(sql::ConvertDateMarkers("SELECT TEhdHolidayDate FROM KZ8TEmpHoliday WHERE "
                                       "TEhdYear<>0 AND TEhdHolidayDate>=" +
                                       DateLiteral(range.first) + " AND TEhdHolidayDate<" +
                                       DateLiteral(range.End()) + " ORDER BY TEhdHolidayDate"))
           .rows) {
    schedule.holidays.push_back(r[0].AsDate().CalendarDay());
  }
  return schedule;
}

}  // namespace kz8mrp::cli
