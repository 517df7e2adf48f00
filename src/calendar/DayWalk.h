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

// One day a walk examined: the hours the calendar offers the work that day
// (office hours less setup, nothing on a holiday), the hours already reserved
// on the section, and what was left for the work.
struct DayAccount {
  OleDate day;
  double offered = 0;
  double reserved = 0;
  double free = 0;
};

// Every walk over the calendar hands each day it examines to its DayWalk, which
// gives up with an overflow error (the error the walk would end with once it
// left the range of valid dates) when the walk can never finish:
// - the calendar has offered no working hours for kIdleDays days in a row (no
//   office hours, a setup time that takes the whole day, endless holidays).
//   Days whose hours are all reserved do not count: reservations end, and the
//   walk goes on behind them;
// - it has gone over kMaxDays days in all: work longer than a hundred years is
//   no plan.
class DayWalk {
 public:
  static constexpr int kIdleDays = 366;
  static constexpr int kMaxDays = 36525;

  // `what` names the walk in the error: "section 'CUT' from 2027-01-04".
  explicit DayWalk(std::string what) : what_(std::move(what)) {}

  void Examined(const DayAccount& day);
  // Days passed over without a look because the work's own earlier
  // reservations are known to fill them.
  void PassedOver(int days);

 private:
  void CheckTotal() const;

  std::string what_;
  int idle_ = 0;
  int days_ = 0;
};

}  // namespace kz8mrp::calendar
