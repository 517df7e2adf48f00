// Conversions between the values the methods read and the texts they splice.
#pragma once

#include <kz8mrp/OleDate.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace kz8mrp::host {

class ConvertTools {
 public:
  // The calendar day of `date` at midnight, "YYYY-MM-DD 00:00:00": the text that
  // goes between the "#$" markers of a date literal, or between quotes.
  std::string SQLDate(OleDate date) const;
  // The date part as text, "YYYY-MM-DD"; callers append a time such as " 08:00".
  std::string DateText(OleDate date) const;
  // A blank text gives 0; a text that is no number is error 13.
  double ToDouble(std::string_view text) const;
  // Whole numbers, rounded half to even; beyond the type's range error 6.
  std::int16_t ToInteger(std::string_view text) const;
  std::int32_t ToLong(std::string_view text) const;
  // A number of hours as the same span in days.
  double TimePart(double hours) const { return hours / 24.0; }
  // A stored setup time (minutes) as days.
  double TimeOfDay(double minutes) const { return minutes / 1440.0; }
  // The document date a code carries: the first "YYMM" after its letters (as in
  // "SO2612-0001"), the first of that month; `fallback` when it carries none.
  OleDate SplitCode(std::string_view code, OleDate fallback) const;
};

}  // namespace kz8mrp::host
