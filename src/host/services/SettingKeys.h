// Every system setting the engine reads, and what it reads it as. Readers look
// their key up here, and writers refuse a value the engine could not read, so a
// setting cannot go bad between the planner who types it and the method that
// uses it.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kz8mrp::host {

enum class SettingKind {
  Text,    // any text: a book, a project, a step code
  Number,  // a decimal number; blank means not set
  Hours,   // a number of hours in a day, 0 to 24; blank means not set
  Mode,    // a whole number the engine reads as a 16-bit Integer; blank means not set
  Flag,    // 1/True/Y/-1 or 0/False/N; blank means not set (the reader's default)
};

struct EngineSetting {
  std::string_view key;
  SettingKind kind;
};

std::span<const EngineSetting> EngineSettings();
// The setting with exactly this key (keys are stored and read as written), or nullptr.
const EngineSetting* FindEngineSetting(std::string_view key);

// The stored text as the engine reads it. An unreadable text is error 13 (6 for
// a mode beyond an Integer) naming the setting.
double SettingNumber(const EngineSetting& setting, std::string_view value);
bool SettingFlag(const EngineSetting& setting, std::string_view value, bool default_value);

// Refuses, naming the key, a value the engine could not read as what it reads
// under that key, and a key that differs from one of the engine's only in letter
// case. A key the engine does not read (another program's setting) takes any value.
void CheckSettingValue(std::string_view key, std::string_view value);

}  // namespace kz8mrp::host
