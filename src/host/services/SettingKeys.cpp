#include "host/services/SettingKeys.h"

#include <kz8mrp/Error.h>

#include "common/Text.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace kz8mrp::host {
namespace {

using enum SettingKind;

constexpr EngineSetting kEngineSettings[] = {
    {"MRPHourPerDay", Hours},
    {"MRPHourPerDayWithOT1", Hours},
    {"MRPHourPerDayWithOT2", Hours},
    {"MRPPercentOrderMode", Mode},
    {"GetBOMHourMultiplyMan", Mode},
    {"DefaultOutputQuantity", Number},
    {"MRPDEFAULTPRODUCTIONBOOK", Text},
    {"DEFAULTPROJECTBULKORDER", Text},
    {"SOAPPROVEJOBSTEPCODE", Text},
    {"SEAPPROVEJOBSTEPCODE", Text},
    {"ACCOUNTIGNOREJOBCOMPLETED", Flag},
};

constexpr double kHoursInADay = 24;
constexpr double kLargestMode = std::numeric_limits<std::int16_t>::max();

std::string Expected(SettingKind kind) {
  switch (kind) {
    case Number:
      return "a number";
    case Hours:
      return "a number of hours from 0 to 24";
    case Mode:
      return "a whole number from 0 to 32767";
    case Flag:
      return "True or False (1 or 0, Y or N)";
    case Text:
      break;
  }
  return "a text";
}

[[noreturn]] void Unreadable(const EngineSetting& setting, std::string_view value, int number) {
  throw Error(number, std::string(number == errc::kOverflow ? "Overflow" : "Type mismatch") +
                          ": the setting " + std::string(setting.key) + " holds '" +
                          std::string(value) + "', which is not " + Expected(setting.kind));
}

[[noreturn]] void Refuse(const EngineSetting& setting, std::string_view value) {
  throw Error(errc::kTypeMismatch, "Type mismatch: the setting " + std::string(setting.key) +
                                       " takes " + Expected(setting.kind) + ", not '" +
                                       std::string(value) + "'");
}

// What a writer may store: what the engine can read, and for hours and modes
// only what makes sense (hours that fit in a day, modes that are whole).
bool Storable(const EngineSetting& setting, std::string_view value) {
  try {
    switch (setting.kind) {
      case Text:
        return true;
      case Flag:
        SettingFlag(setting, value, false);
        return true;
      case Hours: {
        const double n = SettingNumber(setting, value);
        return n >= 0 && n <= kHoursInADay;
      }
      case Mode: {
        const double n = SettingNumber(setting, value);
        return std::trunc(n) == n && n >= 0;
      }
      case Number:
        SettingNumber(setting, value);
        return true;
    }
  } catch (const Error&) {
    return false;
  }
  return false;
}

}  // namespace

std::span<const EngineSetting> EngineSettings() { return kEngineSettings; }

const EngineSetting* FindEngineSetting(std::string_view key) {
  for (const EngineSetting& s : kEngineSettings) {
    if (s.key == key) return &s;
  }
  return nullptr;
}

double SettingNumber(const EngineSetting& setting, std::string_view value) {
  if (text::Trim(value).empty()) return 0;
  double n = 0;
  if (!text::ParseNumber(value, n)) Unreadable(setting, value, errc::kTypeMismatch);
  // A mode is taken as a 16-bit whole number; one beyond it could never be.
  if (setting.kind == Mode && std::fabs(std::nearbyint(n)) > kLargestMode) {
    Unreadable(setting, value, errc::kOverflow);
  }
  return n;
}

bool SettingFlag(const EngineSetting& setting, std::string_view value, bool default_value) {
  const std::string v = text::ToUpper(text::Trim(value));
  if (v.empty()) return default_value;
  if (v == "1" || v == "TRUE" || v == "Y" || v == "-1") return true;
  if (v == "0" || v == "FALSE" || v == "N") return false;
  Unreadable(setting, value, errc::kTypeMismatch);
}

void CheckSettingValue(std::string_view key, std::string_view value) {
  const EngineSetting* setting = FindEngineSetting(key);
  if (!setting) {
    for (const EngineSetting& s : kEngineSettings) {
      if (text::EqualsNoCase(s.key, key)) {
        throw Error(errc::kInvalidArgument, "the engine reads no setting " + std::string(key) +
                                                "; did you mean " + std::string(s.key) +
                                                "? (keys are read exactly as written)");
      }
    }
    return;
  }
  if (!Storable(*setting, value)) Refuse(*setting, value);
}

}  // namespace kz8mrp::host
