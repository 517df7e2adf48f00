#include "host/Sql.h"

#include <kz8mrp/Error.h>

#include "common/Text.h"

namespace kz8mrp::sql {

std::string Text(std::string_view value) {
  std::string r;
  r.reserve(value.size() + 2);
  r += '\'';
  for (const char c : value) {
    // Both databases end a statement's text at a NUL: the literal would never close.
    if (c == '\0') throw Error(errc::kInvalidArgument, "a text with a NUL character in it");
    r += c;
    if (c == '\'') r += '\'';
  }
  r += '\'';
  return r;
}

std::string Number(double value) {
  std::string t = text::NumberText(value);
  return value < 0 ? "(" + t + ")" : t;
}

std::string Number(std::int64_t value) {
  std::string t = std::to_string(value);
  return value < 0 ? "(" + t + ")" : t;
}

std::string ConvertDateMarkers(std::string_view sql) {
  std::string out;
  out.reserve(sql.size());
  bool quoted = false;
  for (std::size_t i = 0; i < sql.size(); ++i) {
    const char c = sql[i];
    if (c == '\'') {
      quoted = !quoted;  // a doubled quote toggles twice and stays inside
      out += c;
      continue;
    }
    if (!quoted && c == '#' && i + 1 < sql.size() && sql[i + 1] == '$') {
      const std::size_t end = sql.find("#$", i + 2);
      if (end != std::string_view::npos) {
        out += Text(sql.substr(i + 2, end - i - 2));
        i = end + 1;
        continue;
      }
    }
    out += c;
  }
  return out;
}

bool IsIdentifier(std::string_view name) {
  if (name.empty()) return false;
  for (const char c : name) {
    const bool ok =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (!ok) return false;
  }
  return !(name[0] >= '0' && name[0] <= '9');
}

void RequireIdentifier(std::string_view name) {
  if (!IsIdentifier(name)) {
    throw Error(errc::kInvalidArgument, "not a table or column name: '" + std::string(name) + "'");
  }
}

}  // namespace kz8mrp::sql
