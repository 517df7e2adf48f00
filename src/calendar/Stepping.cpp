// When a piece of work ends (laid forward from its start) or must start (laid
// back from its end): each day offers the section's office hours less the setup
// time, less what is reserved on the section that day, and nothing on holidays.
#include <kz8mrp/MRPObject.h>

#include "calendar/DayWalk.h"
#include "common/Text.h"
#include "host/Sql.h"
#include "host/services/ConvertTools.h"
#include "host/services/DbTools.h"

#include <cmath>

namespace kz8mrp {
namespace {

using calendar::DayAccount;
using calendar::DayWalk;
using calendar::kOfficeEnd;
using calendar::kOfficeEndHour;
using calendar::kOfficeStart;

// Whole seconds of `at` after midnight of `day` (negative before it).
long long SecondsAfter(OleDate day, OleDate at) {
  return std::llround(at.DaysSince(day) * 86400.0);
}

long long FloorHours(long long seconds) {
  return seconds >= 0 ? seconds / 3600 : -((-seconds + 3599) / 3600);
}

struct Walk {
  const String& section;
  double hours_per_day;
  double need;
  OleDate day;
  double lost_hours;  // taken from the first day only, when above 0
  int direction;      // +1 forward, -1 backward
  bool cut_holiday;
  const String& skip_job;
  Long skip_line;
};

struct Placed {
  OleDate day;        // the day the work was finished on
  double last_hours;  // the hours placed on that day
};

// What day `w.day` gives the work; the first day's lost hours go with it.
DayAccount Examine(MRPObject& engine, DataObj& data, Walk& w) {
  const double reserved = engine.GETCapAsDate(w.section, w.day, w.skip_job, w.skip_line, data);
  const bool holiday = w.cut_holiday && engine.isMRPHoliday(w.day, "", data);
  DayAccount account{w.day, holiday ? 0 : w.hours_per_day, reserved,
                     holiday ? 0 : w.hours_per_day - reserved, holiday};
  if (w.lost_hours > 0) {
    account.offered -= w.lost_hours;
    account.free -= w.lost_hours;
    w.lost_hours = 0;
  }
  return account;
}

Placed PlaceHours(MRPObject& engine, DataObj& data, Walk w) {
  DayWalk guard({"section '" + w.section + "' " + (w.direction > 0 ? "from " : "back from ") +
                     w.day.DateText(),
                 w.section, w.skip_job, w.skip_line});
  double booked = 0;
  double last = 0;
  while (booked < w.need) {
    DayAccount day = Examine(engine, data, w);
    if (day.free > 0) {
      if (booked + day.free < w.need) {
        booked += day.free;
        day.taken = day.free;
      } else {
        last = w.need - booked;
        day.taken = last;
        booked = w.need;
      }
    }
    day.left = w.need - booked;
    guard.Examined(day);
    if (booked < w.need) w.day = w.day.AddDays(w.direction);
  }
  guard.Finished("all " + text::NumberText(w.need) + " h placed, the last " +
                 text::NumberText(last) + " h on " + w.day.DateText());
  return {w.day, last};
}

// A result never falls on a holiday, whatever the caller said about cutting them.
OleDate OffHolidays(MRPObject& engine, DataObj& data, OleDate at, int direction) {
  DayWalk guard(std::string("the holiday calendar ") + (direction > 0 ? "from " : "back from ") +
                at.DateText());
  while (engine.isMRPHoliday(at, "", data)) {
    guard.Examined({at, 0, 0, 0, true});
    at = at.AddDays(direction);
  }
  guard.Finished(at.ToString() + " is no holiday");
  return at;
}

// Office hours of the section; a section without hours (or without a row) works 8.
double OfficeHours(const host::DbTools& db_tools, const String& section, DataObj& data) {
  const double hours = db_tools.QueryNumberStr(
      "TSecHOffice", "SELECT TSecHOffice FROM KZ8TSection WHERE TSecCode=" + sql::Text(section),
      data.ConnectionString());
  return hours == 0 ? 8 : hours;
}

}  // namespace

OleDate MRPObject::GetEndDateTime3(
    OleDate StartDateTime, OleDate EairyFinish, double EsDay, const String& TSecCode,
    DataObj& DataObj, AppObj& /*AppObj*/, ClientObj& /*ClientObj*/, bool /*CutPlanned*/,
    bool CutHoliday, bool /*CutPM*/,
    ByRef<Integer> SetupTime,  // NOLINT(performance-unnecessary-value-param)
    KZ8HourType /*HourType*/, const String& SkipTJobNo, Long SkipTJbMLn) {
  // The setup time is lost on every day, not once.
  const double per_day = OfficeHours(DbTools(), TSecCode, DataObj) - SetupTime.get() / 60.0;
  const OleDate day = StartDateTime.CalendarDay();
  // Whole hours of the first day gone by since 08:00 when the work starts.
  const auto lost =
      static_cast<double>(FloorHours(SecondsAfter(day.AddDays(kOfficeStart), StartDateTime)));
  const Placed placed = PlaceHours(
      *this, DataObj,
      {TSecCode, per_day, per_day * EsDay, day, lost, +1, CutHoliday, SkipTJobNo, SkipTJbMLn});
  // The time of day comes from the office day alone: 08:00 plus the last day's hours.
  const OleDate end = OffHolidays(
      *this, DataObj, placed.day.AddDays(kOfficeStart + ConvertTools().TimePart(placed.last_hours)),
      +1);
  return end > EairyFinish ? end : EairyFinish;
}

OleDate MRPObject::GetStartDateTime3(
    OleDate EndDateTime, OleDate LastedStart, double EsDay, const String& TSecCode,
    DataObj& DataObj, AppObj& /*AppObj*/, ClientObj& /*ClientObj*/, bool /*CutPlanned*/,
    bool CutHoliday, bool /*CutPM*/,
    ByRef<Integer> SetupTime,  // NOLINT(performance-unnecessary-value-param)
    KZ8HourType /*HourType*/, const String& SkipTJobNo, Long SkipTJbMLn) {
  const double per_day = OfficeHours(DbTools(), TSecCode, DataObj) - SetupTime.get() / 60.0;
  const OleDate day = EndDateTime.CalendarDay();
  // Whole hours of the last day between the given end and 17:00; an end at
  // midnight leaves that day whole.
  const auto lost =
      EndDateTime == day
          ? 0.0
          : static_cast<double>(kOfficeEndHour - FloorHours(SecondsAfter(day, EndDateTime)));
  const Placed placed = PlaceHours(
      *this, DataObj,
      {TSecCode, per_day, per_day * EsDay, day, lost, -1, CutHoliday, SkipTJobNo, SkipTJbMLn});
  const OleDate start =
      OffHolidays(*this, DataObj,
                  placed.day.AddDays(kOfficeEnd - ConvertTools().TimePart(placed.last_hours)), -1);
  return start < LastedStart ? start : LastedStart;
}

}  // namespace kz8mrp
