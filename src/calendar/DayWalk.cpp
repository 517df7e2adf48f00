#include "calendar/DayWalk.h"

#include <kz8mrp/Error.h>

namespace kz8mrp::calendar {

void DayWalk::Examined(const DayAccount& day) {
  ++days_;
  // A day that gave hours, or would have but for reservations, is no idle day.
  idle_ = day.free > 0 || day.offered > 0 ? 0 : idle_ + 1;
  if (idle_ >= kIdleDays) {
    throw Error(errc::kOverflow, "Overflow: no free working hours on " + what_ + " for " +
                                     std::to_string(kIdleDays) +
                                     " days in a row; check the office hours, the setup time, "
                                     "the duration and the holidays");
  }
  CheckTotal();
}

void DayWalk::PassedOver(int days) {
  if (days == 0) return;
  days_ += days;
  idle_ = 0;
  CheckTotal();
}

void DayWalk::CheckTotal() const {
  if (days_ > kMaxDays) {
    throw Error(errc::kOverflow, "Overflow: the work on " + what_ + " does not fit within " +
                                     std::to_string(kMaxDays) + " days of the calendar");
  }
}

}  // namespace kz8mrp::calendar
