// The date reader and printer: a text that reads as a date prints as a text
// that reads back as the same date, keeping what was written; any point of the
// valid range prints as a text that reads back within half a second of it.
#include <kz8mrp/Error.h>
#include <kz8mrp/OleDate.h>

#include "fuzz/Property.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using kz8mrp::OleDate;

void ReadTextPrintsTheSame(std::string_view text) {
  OleDate date;
  if (!OleDate::TryParse(text, date)) return;
  const std::string printed = date.ToString();
  OleDate again;
  KZ8_PROPERTY(OleDate::TryParse(printed, again) && again == date && again.ToString() == printed,
               "a date read from text reads back from its printed text",
               std::string(text) + " -> " + printed);
  // Day, hours and minutes as written ('T' may separate); missing parts are zero.
  std::string expected(text.substr(0, 10));
  expected += text.size() > 10 ? " " + std::string(text.substr(11, 5)) : " 00:00";
  expected += text.size() > 16 ? std::string(text.substr(16)) : ":00";
  KZ8_PROPERTY(printed == expected, "a date prints as written",
               std::string(text) + " -> " + printed);
  KZ8_PROPERTY(date.CalendarDay().ToString() == date.DateText() + " 00:00:00",
               "the calendar day is the date at midnight", printed);
}

void SerialPrintsWithinHalfASecond(double serial) {
  if (!std::isfinite(serial) || serial < OleDate::kMinSerial || serial >= OleDate::kMaxSerial + 1)
    return;
  const OleDate date(serial);
  std::string printed;
  try {
    printed = date.ToString();
  } catch (const kz8mrp::Error& e) {
    // Only the last half second of 9999-12-31 rounds out of the range.
    KZ8_PROPERTY(e.Number() == kz8mrp::errc::kOverflow && serial > OleDate::kMaxSerial + 0.99999,
                 "a date in the range prints", std::to_string(serial) + ": " + e.what());
    return;
  }
  OleDate again;
  KZ8_PROPERTY(OleDate::TryParse(printed, again), "a printed date reads back", printed);
  // A serial near the year 9999 holds its time of day to about 40 microseconds.
  KZ8_PROPERTY(std::fabs(again.DaysSince(date)) * 86400 <= 0.5 + 1e-4,
               "a printed date is the nearest whole second",
               std::to_string(serial) + " -> " + printed);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ReadTextPrintsTheSame(std::string_view(reinterpret_cast<const char*>(data), size));
  if (size >= sizeof(double)) {
    double serial = 0;
    std::memcpy(&serial, data, sizeof serial);
    SerialPrintsWithinHalfASecond(serial);
  }
  return 0;
}
