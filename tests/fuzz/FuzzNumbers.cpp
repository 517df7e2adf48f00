// The number readers: a text that reads as a number prints in its shortest form and reads back as
// the same double; the conversions and the setting readers agree with the reader and fail only with
// the conversion errors; a setting value a writer may store is one the engine reads. (The command
// line's typed readers are the arguments target's.)
#include <kz8mrp/Error.h>

#include "common/Text.h"
#include "fuzz/Property.h"
#include "host/Sql.h"
#include "host/services/ConvertTools.h"
#include "host/services/SettingKeys.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

namespace text = kz8mrp::text;
using kz8mrp::Error;

bool ConversionError(const Error& e) {
  return e.Number() == kz8mrp::errc::kTypeMismatch || e.Number() == kz8mrp::errc::kOverflow;
}

void NumberPrintsAndReadsBack(double n) {
  if (!std::isfinite(n)) return;
  const std::string printed = text::NumberText(n);
  double again = 0;
  KZ8_PROPERTY(text::ParseNumber(printed, again) && again == n,
               "a number reads back from its shortest text", printed);
  KZ8_PROPERTY(kz8mrp::sql::Number(n) == (n < 0 ? "(" + printed + ")" : printed),
               "a spliced number is its text, a negative one in parentheses", printed);
}

void ConvertToolsAgree(std::string_view value, bool readable, double n) {
  const kz8mrp::host::ConvertTools convert;
  const bool blank = text::Trim(value).empty();
  try {
    const double d = convert.ToDouble(value);
    KZ8_PROPERTY(blank ? d == 0 : readable && d == n, "ToDouble reads what the reader reads",
                 std::string(value));
    const double whole = convert.ToInteger(value);
    KZ8_PROPERTY(whole == std::nearbyint(d), "ToInteger rounds what ToDouble reads",
                 std::string(value));
  } catch (const Error& e) {
    KZ8_PROPERTY(ConversionError(e) && (!readable || std::fabs(n) > 32767),
                 "a conversion fails only on a text that is no number, or one too large",
                 std::string(value) + ": " + e.what());
  }
}

void StorableSettingsAreReadable(std::string_view value) {
  using kz8mrp::host::SettingKind;
  for (const kz8mrp::host::EngineSetting& setting : kz8mrp::host::EngineSettings()) {
    try {
      kz8mrp::host::CheckSettingValue(setting.key, value);
    } catch (const Error&) {
      continue;
    }
    if (setting.kind == SettingKind::Flag) {
      kz8mrp::host::SettingFlag(setting, value, true);  // throws if unreadable
    } else if (setting.kind != SettingKind::Text) {
      const double n = kz8mrp::host::SettingNumber(setting, value);
      KZ8_PROPERTY(setting.kind != SettingKind::Hours || (n >= 0 && n <= 24),
                   "stored hours fit in a day", std::string(value));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view value(reinterpret_cast<const char*>(data), size);
  double n = 0;
  const bool readable = text::ParseNumber(value, n);
  if (readable) NumberPrintsAndReadsBack(n);
  if (size >= sizeof(double)) {
    double raw = 0;
    std::memcpy(&raw, data, sizeof raw);
    NumberPrintsAndReadsBack(raw);
  }
  ConvertToolsAgree(value, readable, n);
  StorableSettingsAreReadable(value);
  return 0;
}
