#include "calendar/OwnBookings.h"

#include <cmath>
#include <utility>

namespace kz8mrp::calendar {
namespace {

// Midnights lie whole days apart on the time line, before 1899-12-30 as after.
long long DayNumber(OleDate midnight) { return std::llround(midnight.Serial()); }
OleDate Midnight(long long day) { return OleDate(static_cast<double>(day)); }

}  // namespace

void OwnBookings::Add(const Line& line, OleDate day, double hours) {
  lines_[line].hours[DayNumber(day)] += hours;
  if (line.line != 0) {
    // The sum over all lines of the job counts this booking too.
    Line all = line;
    all.line = 0;
    lines_[all].hours[DayNumber(day)] += hours;
  }
}

OleDate OwnBookings::FirstOpenDay(const Line& line, OleDate day, double hours_per_day) {
  Days& days = lines_[line];
  if (days.full_at != hours_per_day) {
    days.later.clear();
    days.full_at = hours_per_day;
  }
  long long d = DayNumber(day);
  for (;;) {
    d = days.Find(d);
    const auto booked = days.hours.find(d);
    if (booked == days.hours.end() || booked->second < hours_per_day) return Midnight(d);
    days.later[d] = d + 1;
  }
}

// Follows the links from full days to later ones, then points every day on the
// way straight at the end, so a run of full days is crossed once.
long long OwnBookings::Days::Find(long long day) {
  long long end = day;
  for (auto it = later.find(end); it != later.end(); it = later.find(end)) end = it->second;
  while (day != end) day = std::exchange(later[day], end);
  return end;
}

}  // namespace kz8mrp::calendar
