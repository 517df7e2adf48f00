// The machine schedule of a range of days as the planner looks at it: the
// sections, their office hours and reservations, and the plant's holidays.
#pragma once

#include <kz8mrp/OleDate.h>

#include <string>
#include <vector>

namespace kz8mrp {
class DataObj;
class MRPObject;
}  // namespace kz8mrp

namespace kz8mrp::cli {

// Whole days from the first to the last, both included.
struct DayRange {
  OleDate first;
  OleDate last;
  OleDate End() const { return last.AddDays(1); }  // midnight after the last day
  int Days() const;
};

// "--from" and "--to" read and checked: dates, in order, five years at most.
DayRange ReadDayRange(const std::string& from, const std::string& to);

struct Reservation {
  std::string no;
  std::string type;  // TMPSReserveType: WIP, FG, MM, HD or a caller's own
  std::string job;
  long line = 0;
  long step = 0;
  OleDate start;
  OleDate end;
  double hours = 0;
  bool cancelled = false;
};

// "Mon", "Tue", ...
const char* WeekdayName(OleDate day);

// What the kind of a reservation is called: "production", "finished goods",
// "maintenance", "section holiday", "other".
const char* KindName(const std::string& reserve_type);
// "JOB-1 line 2 step 3", the job alone, or an empty text.
std::string JobText(const Reservation& r);

struct SectionSchedule {
  std::string code;
  std::string name;
  double office_hours = 0;                // a working day's, from 08:00
  std::vector<Reservation> reservations;  // by start
};

struct Schedule {
  DayRange range;
  std::vector<SectionSchedule> sections;
  std::vector<OleDate> holidays;  // the plant's, in the range
};

// The reservations that touch the range. `only` names the sections to show,
// in that order; empty: every section, and any code a reservation carries.
Schedule ReadSchedule(MRPObject& engine, DataObj& data, const DayRange& range,
                      const std::vector<std::string>& only);

}  // namespace kz8mrp::cli
