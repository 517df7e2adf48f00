// "kz8mrp call --explain": the day-by-day account of a date computation, as
// the calendar's walks report it while the method runs.
#pragma once

#include "calendar/DayWalk.h"
#include "cli/Json.h"

#include <string>
#include <vector>

namespace kz8mrp {
class DataObj;
}

namespace kz8mrp::cli {

class Explanation : public calendar::WalkObserver {
 public:
  // Reservations are looked up on `data`'s connection, inside the method's
  // own transaction, so that what the method booked earlier is seen.
  explicit Explanation(DataObj& data) : data_(data) {}

  void Began(const calendar::WalkSubject& subject) override;
  void Examined(const calendar::DayAccount& day) override;
  void PassedOver(OleDate from, int days) override;
  void Stopped(const std::string& why) override;

  std::string Text() const;
  Json ToJson() const;

 private:
  struct Reserved {
    std::string no;
    double hours;
  };
  struct Day {
    calendar::DayAccount account;
    std::vector<Reserved> reservations;
    int passed_over = 0;  // days passed over after this one
  };
  struct Walk {
    calendar::WalkSubject subject;
    std::vector<Day> days;
    std::string stopped;
  };

  std::vector<Reserved> ReservationsOn(OleDate day) const;

  DataObj& data_;
  std::vector<Walk> walks_;
};

}  // namespace kz8mrp::cli
