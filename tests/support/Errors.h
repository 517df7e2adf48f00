// The kz8mrp::Error a call raises, or its number (0 when it raises none).
#pragma once

#include <kz8mrp/Error.h>

#include <gmock/gmock.h>

#include <functional>
#include <optional>
#include <string>

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

// The call raises an error of that number whose text holds `text`.
inline void ExpectError(const std::function<void()>& call, int number, const std::string& text) {
  const auto e = ErrorFrom(call);
  ASSERT_TRUE(e) << text << ": no error";
  EXPECT_EQ(e->Number(), number) << text;
  EXPECT_THAT(e->Text(), ::testing::HasSubstr(text));
}

}  // namespace kz8test
