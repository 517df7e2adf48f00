// What a fuzz target checks: a property that must hold for every input. When one
// fails the target says which and with what, and aborts; libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace kz8fuzz {

[[noreturn]] inline void Broken(const char* property, const std::string& detail) {
  std::fprintf(stderr, "property broken: %s\n  %s\n", property, detail.c_str());
  std::abort();
}

}  // namespace kz8fuzz

// `detail` is built only when the property fails.
#define KZ8_PROPERTY(holds, property, detail)              \
  do {                                                     \
    if (!(holds)) ::kz8fuzz::Broken((property), (detail)); \
  } while (0)
