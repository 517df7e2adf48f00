// The number of the kz8mrp::Error a call raises, 0 when it raises none.
#pragma once

#include <kz8mrp/Error.h>

#include <functional>

namespace kz8test {

inline int ErrorNumberOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const kz8mrp::Error& e) {
    return e.Number();
  }
  return 0;
}

}  // namespace kz8test
