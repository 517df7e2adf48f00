// The number of the kz8mrp::Error a call raises, 0 when it raises none.
#pragma once

#include <kz8mrp/Error.h>

#include <functional>
#include <optional>

namespace kz8test {

inline int ErrorNumberOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const kz8mrp::Error& e) {
    return e.Number();
  }
  return 0;
}

// The kz8mrp::Error a call raises, nothing when it raises none.
inline std::optional<kz8mrp::Error> ErrorFrom(const std::function<void()>& f) {
  try {
    f();
  } catch (const kz8mrp::Error& e) {
    return e;
  }
  return std::nullopt;
}

}  // namespace kz8test
