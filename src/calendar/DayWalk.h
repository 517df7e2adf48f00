// What the calendar walks share: the fixed office day, and the bound that stops
// a day-by-day walk which can never finish.
#pragma once

#include <kz8mrp/OleDate.h>

#include <string>

namespace kz8mrp::calendar {

// Forward work is laid from 08:00, backward work back from 17:00.
inline constexpr int kOfficeStartHour = 8;
inline constexpr int kOfficeEndHour = 17;
inline constexpr double kOfficeStart = TimeOfDay(kOfficeStartHour);
inline constexpr double kOfficeEnd = TimeOfDay(kOfficeEndHour);

// A walk over the calendar, one day at a time, gives up with an overflow error
// (the error the walk would end with once it left the range of valid dates)
// when no day has offered a free hour for kIdleDays days in a row, or when it
// has examined kMaxDays days in all. A whole year without a free hour means the
// section's office hours, the setup time or the duration are wrong; work longer
// than a hundred years is no plan. Either way the planner hears it at once.
class DayWalk {
 public:
  static constexpr int kIdleDays = 366;
  static constexpr int kMaxDays = 36525;

  // `what` names the walk in the error: "section 'CUT' from 2027-01-04".
  explicit DayWalk(std::string what) : what_(std::move(what)) {}

  // Called before moving on to the next day; `progressed` says whether the day
  // just examined gave any hours.
  void Next(bool progressed);

 private:
  std::string what_;
  int idle_ = 0;
  int examined_ = 0;
};

}  // namespace kz8mrp::calendar
