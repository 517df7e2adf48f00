#include <kz8mrp/Error.h>
#include <kz8mrp/OleDate.h>

#include <cmath>
#include <cstdio>

namespace kz8mrp {
namespace {

constexpr double kSecondsPerDay = 86400.0;

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
constexpr long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

// Constant-initialised, so that dates built during another file's static
// initialisation are right too.
constexpr long long kEpochOffset = DaysFromCivil(1899, 12, 30);

// The serial's point on a straight time line (days since 1899-12-30).
double ToLinear(double serial) {
  if (serial >= 0) return serial;
  const double whole = std::trunc(serial);
  return whole + std::fabs(serial - whole);
}

double FromLinear(double linear) {
  if (linear >= 0) return linear;
  const double whole = std::floor(linear);
  const double fraction = linear - whole;
  return fraction == 0 ? whole : whole - fraction;
}

void CheckRange(double linear) {
  if (!std::isfinite(linear) || linear < OleDate::kMinSerial ||
      linear >= OleDate::kMaxSerial + 1.0) {
    throw Error(errc::kOverflow, "Overflow: date outside 0100-01-01..9999-12-31");
  }
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// Whole seconds on the time line, rounded to the nearest second; a time that
// rounds past 9999-12-31 23:59:59 is out of range too.
long long LinearSeconds(double serial) {
  CheckRange(ToLinear(serial));
  const long long seconds = std::llround(ToLinear(serial) * kSecondsPerDay);
  CheckRange(static_cast<double>(seconds) / kSecondsPerDay);
  return seconds;
}

bool ReadDigits(std::string_view text, std::size_t& pos, std::size_t count, int& value) {
  if (pos + count > text.size()) return false;
  value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const char c = text[pos + i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  pos += count;
  return true;
}

bool Expect(std::string_view text, std::size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

}  // namespace

OleDate OleDate::FromParts(int year, int month, int day, int hour, int minute, double second) {
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour < 0 ||
      hour > 23 || minute < 0 || minute > 59 || second < 0 || second >= 60) {
    throw Error(errc::kTypeMismatch, "Type mismatch: not a valid date");
  }
  const auto days = static_cast<double>(
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochOffset);
  const double linear = days + (hour * 3600.0 + minute * 60.0 + second) / kSecondsPerDay;
  CheckRange(linear);
  return OleDate(FromLinear(linear));
}

OleDate OleDate::FromParts(const Parts& p) {
  return FromParts(p.year, p.month, p.day, p.hour, p.minute, p.second);
}

bool OleDate::TryParse(std::string_view text, OleDate& out) {
  std::size_t pos = 0;
  Parts p;
  p.hour = p.minute = p.second = 0;
  if (!ReadDigits(text, pos, 4, p.year) || !Expect(text, pos, '-') ||
      !ReadDigits(text, pos, 2, p.month) || !Expect(text, pos, '-') ||
      !ReadDigits(text, pos, 2, p.day)) {
    return false;
  }
  if (pos < text.size()) {
    if (text[pos] != ' ' && text[pos] != 'T') return false;
    ++pos;
    if (!ReadDigits(text, pos, 2, p.hour) || !Expect(text, pos, ':') ||
        !ReadDigits(text, pos, 2, p.minute)) {
      return false;
    }
    if (pos < text.size() && (!Expect(text, pos, ':') || !ReadDigits(text, pos, 2, p.second))) {
      return false;
    }
    if (pos != text.size()) return false;
  }
  if (p.month < 1 || p.month > 12 || p.day < 1 || p.day > DaysInMonth(p.year, p.month) ||
      p.hour > 23 || p.minute > 59 || p.second > 59 || p.year < 100) {
    return false;
  }
  out = FromParts(p);
  return true;
}

OleDate OleDate::Parse(std::string_view text) {
  OleDate result;
  if (!TryParse(text, result)) {
    throw Error(errc::kTypeMismatch,
                "Type mismatch: '" + std::string(text) +
                    "' is not a date (YYYY-MM-DD, YYYY-MM-DD HH:MM or YYYY-MM-DD HH:MM:SS, "
                    "0100-01-01..9999-12-31)");
  }
  return result;
}

OleDate::Parts OleDate::Split() const {
  const long long total = LinearSeconds(serial_);
  long long days = total / 86400;
  long long secs = total % 86400;
  if (secs < 0) {
    secs += 86400;
    --days;
  }
  Parts p;
  CivilFromDays(days + kEpochOffset, p.year, p.month, p.day);
  p.hour = static_cast<int>(secs / 3600);
  p.minute = static_cast<int>(secs % 3600 / 60);
  p.second = static_cast<int>(secs % 60);
  return p;
}

int OleDate::DayOfWeek() const {
  const long long seconds = LinearSeconds(serial_);
  long long n = seconds / 86400;
  if (seconds % 86400 < 0) --n;
  // 1899-12-30 was a Saturday.
  return static_cast<int>(((n + 6) % 7 + 7) % 7);
}

int OleDate::WeekOfYear() const {
  const Parts p = Split();
  const OleDate first = FromParts(p.year, 1, 1);
  const auto day_of_year =
      static_cast<int>(std::lround(CalendarDay().DaysSince(first)));  // 0-based
  return (day_of_year + first.DayOfWeek()) / 7 + 1;
}

OleDate OleDate::AddDays(double days) const {
  const double linear = ToLinear(serial_) + days;
  CheckRange(linear);
  return OleDate(FromLinear(linear));
}

OleDate OleDate::CalendarDay() const {
  const Parts p = Split();
  return FromParts(p.year, p.month, p.day);
}

double OleDate::DaysSince(OleDate other) const {
  return ToLinear(serial_) - ToLinear(other.serial_);
}

std::string OleDate::ToString() const {
  const Parts p = Split();
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour,
                p.minute, p.second);
  return buf;
}

std::string OleDate::DateText() const { return ToString().substr(0, 10); }

std::partial_ordering OleDate::operator<=>(const OleDate& other) const {
  return ToLinear(serial_) <=> ToLinear(other.serial_);
}

bool OleDate::operator==(const OleDate& other) const {
  return ToLinear(serial_) == ToLinear(other.serial_);
}

}  // namespace kz8mrp
