// The kz8mrp::Error a call raises, or its number (0 when it raises none).
#pragma once

#include <kz8mrp/Error.h>

#include <functional>
#include <optional>

namespace kz8test {

inline std::optional<kz8mrp::Error> ErrorFrom(const std::function<void()>& f) {
  try {
    f();
  } catch (const kz8mrp::Error& e) {
    return e;
  }
  return std::nullopt;
}

inline int ErrorNumberOf(const std::function<void()>& f) {
  const auto e = ErrorFrom(f);
  return e ? e->Number() : 0;
}

}  // namespace kz8test
