#include "calendar/DayWalk.h"

#include <kz8mrp/Error.h>

#include "host/Sql.h"

namespace kz8mrp::calendar {
namespace {

thread_local WalkObserver* observer = nullptr;

}  // namespace

ObservedWalks::ObservedWalks(WalkObserver& o) : previous_(observer) { observer = &o; }
ObservedWalks::~ObservedWalks() { observer = previous_; }
WalkObserver* Observer() { return observer; }

std::string ReservedOnDay(const std::string& section, const std::string& day_text,
                          const std::string& job, long line) {
  std::string condition =
      " AND TMPSDate=#$" + day_text +
      "#$ AND TMPSStatus=1 AND TMPSReserveType<>'FG' AND TMPSTSecCode=" + sql::Text(section);
  if (!job.empty()) condition += " AND TMPSTJStTJbMTJobNo=" + sql::Text(job);
  if (line != 0) condition += " AND TMPSTJStTJbMLn=" + sql::Number(static_cast<std::int64_t>(line));
  return condition;
}

DayWalk::DayWalk(const WalkSubject& subject) : what_(subject.what) {
  if (observer) observer->Began(subject);
}

void DayWalk::Finished(const std::string& why) const {
  if (observer) observer->Stopped(why);
}

void DayWalk::GiveUp(const std::string& message) const {
  if (observer) observer->Stopped(message);
  throw Error(errc::kOverflow, message);
}

void DayWalk::Examined(const DayAccount& day) {
  if (observer) observer->Examined(day);
  last_day_ = day.day;
  ++days_;
  // A day that gave hours, or would have but for reservations, is no idle day.
  idle_ = day.free > 0 || day.offered > 0 ? 0 : idle_ + 1;
  if (idle_ >= kIdleDays) {
    GiveUp("Overflow: no free working hours on " + what_ + " for " + std::to_string(kIdleDays) +
           " days in a row; check the office hours, the setup time, the duration and the "
           "holidays");
  }
  CheckTotal();
}

void DayWalk::PassedOver(int days) {
  if (days == 0) return;
  if (observer) observer->PassedOver(last_day_, days);
  days_ += days;
  idle_ = 0;
  CheckTotal();
}

void DayWalk::CheckTotal() const {
  if (days_ > kMaxDays) {
    GiveUp("Overflow: the work on " + what_ + " does not fit within " + std::to_string(kMaxDays) +
           " days of the calendar");
  }
}

}  // namespace kz8mrp::calendar
