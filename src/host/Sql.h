// The two splicing helpers every statement is built with, and the rewriting of
// date markers. No value a caller passes can change what a statement means.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kz8mrp::sql {

// 'text' with every ' doubled; a NUL character is refused.
std::string Text(std::string_view value);
// Plain decimal text in the C locale; a negative number in parentheses, so that
// "TJbMUseOrder-" followed by it can never become a "--" comment. NaN and
// infinities are an error.
std::string Number(double value);
std::string Number(std::int64_t value);
inline std::string Number(int value) { return Number(static_cast<std::int64_t>(value)); }

// "#$<date text>#$" outside quoted values becomes a quoted literal; nothing else
// changes. The same literal serves both database kinds.
std::string ConvertDateMarkers(std::string_view sql);

// Table and column names the services splice must be plain identifiers.
bool IsIdentifier(std::string_view name);
void RequireIdentifier(std::string_view name);

}  // namespace kz8mrp::sql
