// A small plant to plan on, built in a few lines: sections, holidays, schedule
// reservations, and jobs with their routing steps.
#pragma once

#include "support/TestDb.h"

#include <optional>
#include <string>
#include <vector>

namespace kz8test {

using kz8mrp::OleDate;

// 2027-01-04 is a Monday; the fixture's clock stands at 09:00 that day.
inline OleDate Jan(int day, int hour = 0, int minute = 0) {
  return OleDate::FromParts(2027, 1, day, hour, minute);
}

struct Reservation {
  std::string section;
  OleDate start;
  double hours;
  std::string type = "WIP";
  std::string job{};
  int line = 0;
  int status = 1;
};

struct JobStep {
  int line;
  int step_line;
  std::string step_name;
  double estimate_days;
  std::optional<OleDate> plan_start{};
  std::optional<OleDate> plan_end{};
  double setup_minutes = 0;
};

class PlantTest : public DbTest {
 protected:
  void Section(const std::string& code, double office_hours);
  // A step name worked by a section.
  void StepName(const std::string& code, const std::string& section);
  void Holiday(OleDate day, int year = 2027);
  // A reservation as another workstation booked it (end = start + hours).
  void Reserve(const Reservation& r);
  void ReserveWithoutHours(const std::string& section, OleDate start);

  void Job(const std::string& job_no, const std::string& branch = "HQ",
           std::optional<OleDate> date = Jan(2));
  // A job line; without a start (or source) date it gets no finished-goods booking.
  void JobLine(const std::string& job_no, int line, std::optional<OleDate> start = Jan(4),
               std::optional<OleDate> source = Jan(15));
  void Step(const std::string& job_no, const JobStep& step);

  // The job's reservations in booking order, one readable line each:
  // "WIP CUT 2027-01-04 08:00 +8 line 1/1 active".
  std::vector<std::string> Schedule(const std::string& job_no);
  int ReservationCount(const std::string& condition = "1=1");

 private:
  int next_reservation_ = 0;
};

}  // namespace kz8test
