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
  bool holiday = false;
  double taken = 0;  // hours of the work placed on the day
  double left = 0;   // hours of the work still to place after it
};

// What a walk is about, for whoever watches it.
struct WalkSubject {
  std::string what;     // "section 'CUT' from 2027-01-04"
  std::string section;  // empty for a walk over the holiday calendar alone
  std::string job;      // the reservations counted are this job's only, when given
  long line = 0;
};

// Watches the walks of the calendar: each walk, each day it examines, and why
// it stopped. Installed for one thread by ObservedWalks; without one a walk
// pays a single pointer test per day.
class WalkObserver {
 public:
  WalkObserver() = default;
  WalkObserver(const WalkObserver&) = delete;
  WalkObserver(WalkObserver&&) = delete;
  WalkObserver& operator=(const WalkObserver&) = delete;
  WalkObserver& operator=(WalkObserver&&) = delete;
  virtual ~WalkObserver() = default;
  virtual void Began(const WalkSubject& subject) = 0;
  virtual void Examined(const DayAccount& day) = 0;
  virtual void PassedOver(OleDate from, int days) = 0;
  virtual void Stopped(const std::string& why) = 0;
};

class ObservedWalks {
 public:
  explicit ObservedWalks(WalkObserver& observer);
  ObservedWalks(const ObservedWalks&) = delete;
  ObservedWalks& operator=(const ObservedWalks&) = delete;
  ~ObservedWalks();

 private:
  WalkObserver* previous_;
};

// The observer of this thread's walks, or none.
WalkObserver* Observer();

// The condition (" AND ...") that picks the reservations GETCapAsDate sums for
// a section's day: active, not finished goods, narrowed to a job (line) when
// one is given. `day_text` is the day's SQLDate text.
std::string ReservedOnDay(const std::string& section, const std::string& day_text,
                          const std::string& job, long line);

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
  explicit DayWalk(std::string what) : DayWalk(WalkSubject{std::move(what), {}, {}, 0}) {}
  explicit DayWalk(const WalkSubject& subject);

  void Examined(const DayAccount& day);
  // Days passed over without a look because the work's own earlier
  // reservations are known to fill them.
  void PassedOver(int days);
  // The walk has done its work.
  void Finished(const std::string& why) const;

 private:
  void CheckTotal() const;
  [[noreturn]] void GiveUp(const std::string& message) const;

  std::string what_;
  int idle_ = 0;
  int days_ = 0;
  OleDate last_day_;
};

}  // namespace kz8mrp::calendar
