// Date-times as the suite stores them in memory: days since 1899-12-30, the
// fraction being the time of day. Days before 1899-12-30 follow the automation
// rule: the whole part counts back, the fraction still runs forward (-1.25 is
// 1899-12-29 06:00).
#pragma once

#include <compare>
#include <string>
#include <string_view>

namespace kz8mrp {

class OleDate {
 public:
  struct Parts {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
  };

  constexpr OleDate() = default;
  constexpr explicit OleDate(double serial) : serial_(serial) {}

  // Throws kz8mrp::Error when the result leaves 0100-01-01..9999-12-31.
  static OleDate FromParts(int year, int month, int day, int hour = 0, int minute = 0,
                           double second = 0);
  static OleDate FromParts(const Parts& parts);
  // Accepts "YYYY-MM-DD", "YYYY-MM-DD HH:MM" and "YYYY-MM-DD HH:MM:SS" ('T' also
  // separates); anything else is a type mismatch (error 13).
  static OleDate Parse(std::string_view text);
  static bool TryParse(std::string_view text, OleDate& out);

  constexpr double Serial() const { return serial_; }

  // Calendar fields, the time rounded to the nearest second.
  Parts Split() const;
  int Year() const { return Split().year; }
  int Month() const { return Split().month; }
  int Day() const { return Split().day; }
  // 0 = Sunday ... 6 = Saturday.
  int DayOfWeek() const;
  // Weeks start on Sunday; week 1 is the week holding 1 January.
  int WeekOfYear() const;

  // Calendar arithmetic on the time line (exact across 1899-12-30).
  OleDate AddDays(double days) const;
  OleDate AddHours(double hours) const { return AddDays(hours / 24.0); }
  // The calendar day at midnight.
  OleDate CalendarDay() const;
  // On 9999-12-31, the last day there is, which has no day after it.
  bool OnLastDay() const { return Serial() >= kMaxSerial; }
  // Days between two date-times on the time line (this - other).
  double DaysSince(OleDate other) const;

  // "YYYY-MM-DD HH:MM:SS", rounded to the nearest second.
  std::string ToString() const;
  // "YYYY-MM-DD".
  std::string DateText() const;

  // Compares points on the time line.
  std::partial_ordering operator<=>(const OleDate& other) const;
  bool operator==(const OleDate& other) const;

  static constexpr double kMinSerial = -657434.0;  // 0100-01-01
  static constexpr double kMaxSerial = 2958465.0;  // 9999-12-31 (whole part)

 private:
  double serial_ = 0.0;
};

// A time of day as a fraction of a day: 08:00 is 1/3.
constexpr double TimeOfDay(int hour, int minute = 0, int second = 0) {
  return (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

}  // namespace kz8mrp
