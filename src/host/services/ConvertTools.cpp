#include "host/services/ConvertTools.h"

#include <kz8mrp/Error.h>

#include "common/Text.h"

#include <cmath>
#include <limits>

namespace kz8mrp::host {
namespace {

template <class Int>
Int ToWhole(std::string_view text, const ConvertTools& convert) {
  const double n = std::nearbyint(convert.ToDouble(text));
  if (n < static_cast<double>(std::numeric_limits<Int>::min()) ||
      n > static_cast<double>(std::numeric_limits<Int>::max())) {
    throw Error(errc::kOverflow, "Overflow: " + std::string(text));
  }
  return static_cast<Int>(n);
}

}  // namespace

std::string ConvertTools::SQLDate(OleDate date) const { return date.CalendarDay().ToString(); }

std::string ConvertTools::DateText(OleDate date) const { return date.DateText(); }

double ConvertTools::ToDouble(std::string_view value) const {
  if (text::Trim(value).empty()) return 0;
  double n = 0;
  if (!text::ParseNumber(value, n)) {
    throw Error(errc::kTypeMismatch, "Type mismatch: '" + std::string(value) + "' is not a number");
  }
  return n;
}

std::int16_t ConvertTools::ToInteger(std::string_view text) const {
  return ToWhole<std::int16_t>(text, *this);
}

std::int32_t ConvertTools::ToLong(std::string_view text) const {
  return ToWhole<std::int32_t>(text, *this);
}

OleDate ConvertTools::SplitCode(std::string_view code, OleDate fallback) const {
  std::size_t i = 0;
  while (i < code.size() && !(code[i] >= '0' && code[i] <= '9')) ++i;
  if (i + 4 > code.size()) return fallback;
  int digits[4];
  for (int k = 0; k < 4; ++k) {
    const char c = code[i + static_cast<std::size_t>(k)];
    if (c < '0' || c > '9') return fallback;
    digits[k] = c - '0';
  }
  const int year = 2000 + digits[0] * 10 + digits[1];
  const int month = digits[2] * 10 + digits[3];
  if (month < 1 || month > 12) return fallback;
  return OleDate::FromParts(year, month, 1);
}

}  // namespace kz8mrp::host
