// The hours one schedule run has booked itself, by section, job line and day.
// A run only ever adds reservations of its own job, so a day they fill stays
// full for the rest of the run: a later step of the same line can pass over it
// without asking the schedule again, and a line of many steps queued on one
// section costs a look per step and per day it books, not per day it waits.
#pragma once

#include <kz8mrp/OleDate.h>

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <unordered_map>

namespace kz8mrp::calendar {

class OwnBookings {
 public:
  // What the schedule's capacity sum is narrowed to: a section and a job
  // line; line 0 stands for every line of the job, as it does in the sum.
  struct Line {
    std::string section;
    std::string job;
    std::int32_t line = 0;
    bool operator<(const Line& other) const {
      return std::tie(section, job, line) < std::tie(other.section, other.job, other.line);
    }
  };

  void Add(const Line& line, OleDate day, double hours);
  // The first day from `day` on that the line's own bookings leave below
  // `hours_per_day`.
  OleDate FirstOpenDay(const Line& line, OleDate day, double hours_per_day);

 private:
  struct Days {
    std::unordered_map<long long, double> hours;
    std::unordered_map<long long, long long> later;  // a full day -> a later day, maybe open
    double full_at = 0;                              // the hours per day `later` was built for
    long long Find(long long day);
  };
  std::map<Line, Days> lines_;
};

}  // namespace kz8mrp::calendar
