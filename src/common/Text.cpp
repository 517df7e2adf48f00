#include "common/Text.h"

#include <kz8mrp/Error.h>

#include <locale.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cwchar>
#include <stdexcept>

namespace kz8mrp::text {

std::string NumberText(double value) {
  if (!std::isfinite(value)) {
    throw Error(errc::kOverflow, "Overflow: a number that is not finite cannot be written");
  }
  if (value == 0) return "0";  // also for -0
  char buf[64];
  const bool whole = std::trunc(value) == value && std::fabs(value) < 1e17;
  const auto res = whole ? std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed)
                         : std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, res.ptr);
}

bool ParseNumber(std::string_view s, double& out) {
  s = Trim(s);
  if (s.empty()) return false;
  if (s.front() == '+') {
    s.remove_prefix(1);
    if (s.empty() || s.front() == '-') return false;  // "+-5" is no number
  }
  const auto res = std::from_chars(s.data(), s.data() + s.size(), out);
  return res.ec == std::errc() && res.ptr == s.data() + s.size() && std::isfinite(out);
}

namespace {

// Letter case of the ASCII letters only, as the C locale has it, without a
// library call per character: column names are compared many times a row.
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

std::size_t NoCaseHash::operator()(std::string_view s) const noexcept {
  std::size_t h = 14695981039346656037ULL;  // FNV-1a
  for (const char c : s) {
    h ^= static_cast<unsigned char>(AsciiLower(c));
    h *= 1099511628211ULL;
  }
  return h;
}

std::string ToLower(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = AsciiLower(c);
  return r;
}

std::string ToUpper(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = AsciiUpper(c);
  return r;
}

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

std::vector<std::string> Split(std::string_view s, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = s.find(separator, start);
    parts.emplace_back(s.substr(start, at - start));
    if (at == std::string_view::npos) return parts;
    start = at + 1;
  }
}

std::string Join(const std::vector<std::string>& parts, std::string_view separator) {
  std::string r;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i) r += separator;
    r += parts[i];
  }
  return r;
}

namespace {

std::uint32_t NextCodePoint(std::string_view s, std::size_t& i) {
  const auto b = static_cast<unsigned char>(s[i]);
  int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 1;
  std::uint32_t cp = len == 1 ? b : b & (0x3Fu >> (len - 1));
  for (int k = 1; k < len && i + static_cast<std::size_t>(k) < s.size(); ++k) {
    cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3Fu);
  }
  i += static_cast<std::size_t>(len);
  return cp;
}

// The C library's character widths of a UTF-8 locale, whatever locale the
// program runs in; C.UTF-8 comes with every glibc.
locale_t Utf8Locale() {
  static const locale_t locale = [] {
    locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (l == static_cast<locale_t>(nullptr)) throw std::runtime_error("no C.UTF-8 locale");
    return l;
  }();
  return locale;
}

// Cells a terminal gives one character: Thai vowels above and below and tone
// marks take none; an unprintable character is counted as one cell.
std::size_t CharacterWidth(std::uint32_t cp) {
  const int w = wcwidth(static_cast<wchar_t>(cp));
  return w < 0 ? 1 : static_cast<std::size_t>(w);
}

}  // namespace

std::size_t DisplayWidth(std::string_view utf8) {
  const locale_t previous = uselocale(Utf8Locale());
  std::size_t width = 0;
  for (std::size_t i = 0; i < utf8.size();) width += CharacterWidth(NextCodePoint(utf8, i));
  uselocale(previous);
  return width;
}

}  // namespace kz8mrp::text
