// A small plant to plan on: three work sections, the settings of a Thai
// factory's working week, and the holidays of January 2027.
#include "cli/Commands.h"
#include "host/db/Rows.h"

namespace kz8mrp::cli {
namespace {

using db::Value;

void LoadSections(db::Connection& c) {
  struct Section {
    const char* code;
    const char* name;
    double office, ot1, ot2, two_shifts, full_day;
  };
  // Painting keeps no hours of its own: it works on the plant's settings.
  const Section sections[] = {
      {"CUT", "Cutting", 8, 10, 12, 16, 24},
      {"ASM", "Assembly", 7.5, 0, 0, 15, 0},
      {"PNT", "Painting", 0, 0, 0, 0, 0},
  };
  for (const Section& s : sections) {
    db::WriteRow(c, "KZ8TSection",
                 {{"TSecCode", s.code},
                  {"TSecName", s.name},
                  {"TSecHOffice", s.office},
                  {"TSecHWithOT1", s.ot1},
                  {"TSecHWithOT2", s.ot2},
                  {"TSecH2Shift", s.two_shifts},
                  {"TSecHFullDay", s.full_day}});
  }
}

void LoadSettings(db::Connection& c) {
  const std::pair<const char*, const char*> settings[] = {
      {"MRPHourPerDay", "8"},
      {"MRPHourPerDayWithOT1", "11"},
      {"MRPHourPerDayWithOT2", "13"},
  };
  for (const auto& [key, value] : settings) {
    db::WriteRow(c, "KZ8TSetting", {{"TSetKey", key}, {"TSetValue", value}});
  }
}

void LoadHolidays(db::Connection& c) {
  // New Year's Day and the weekends of January 2027; the 15th was once a
  // holiday and has been switched off (year 0).
  db::WriteRow(c, "KZ8TEmpHoliday", {{"TEhdHolidayDate", "2027-01-01"}, {"TEhdYear", 2027}});
  for (int day = 2; day <= 31; ++day) {
    const OleDate d = OleDate::FromParts(2027, 1, day);
    if (d.DayOfWeek() == 0 || d.DayOfWeek() == 6) {
      db::WriteRow(c, "KZ8TEmpHoliday", {{"TEhdHolidayDate", Value(d)}, {"TEhdYear", 2027}});
    }
  }
  db::WriteRow(c, "KZ8TEmpHoliday", {{"TEhdHolidayDate", "2027-01-15"}, {"TEhdYear", 0}});
}

}  // namespace

void LoadDemoPlant(db::Connection& connection) {
  db::Transaction tx(connection);
  LoadSections(connection);
  LoadSettings(connection);
  LoadHolidays(connection);
  LoadDemoSalesOrders(connection);
  tx.Commit();
}

}  // namespace kz8mrp::cli
