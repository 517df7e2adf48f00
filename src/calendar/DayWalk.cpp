#include "calendar/DayWalk.h"

#include <kz8mrp/Error.h>

namespace kz8mrp::calendar {

void DayWalk::Next(bool progressed) {
  ++examined_;
  idle_ = progressed ? 0 : idle_ + 1;
  if (idle_ >= kIdleDays) {
    throw Error(errc::kOverflow, "Overflow: no free working hours on " + what_ + " for " +
                                     std::to_string(kIdleDays) +
                                     " days in a row; check the office hours, the setup time, "
                                     "the duration and the reservations");
  }
  if (examined_ >= kMaxDays) {
    throw Error(errc::kOverflow, "Overflow: the work on " + what_ + " does not fit within " +
                                     std::to_string(kMaxDays) + " days of the calendar");
  }
}

}  // namespace kz8mrp::calendar
