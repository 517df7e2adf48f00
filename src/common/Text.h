// Small text and number helpers shared by every layer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kz8mrp::text {

// Shortest decimal text that reads back as the same double; whole numbers have
// no fraction. NaN and infinities throw (error 6).
std::string NumberText(double value);

// Reads a decimal number in the C locale, blanks around it allowed.
bool ParseNumber(std::string_view text, double& out);

bool EqualsNoCase(std::string_view a, std::string_view b);
// Hash and equality of names compared without regard to ASCII case, for maps of
// column names looked up many times per row: no lower-cased copy is made.
struct NoCaseHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const noexcept;
};
struct NoCaseEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept {
    return EqualsNoCase(a, b);
  }
};
std::string ToLower(std::string_view s);
std::string ToUpper(std::string_view s);
std::string_view Trim(std::string_view s);
std::vector<std::string> Split(std::string_view s, char separator);
std::string Join(const std::vector<std::string>& parts, std::string_view separator);

// Display width of UTF-8 text in terminal cells (Thai vowel and tone marks take none).
std::size_t DisplayWidth(std::string_view utf8);

}  // namespace kz8mrp::text
