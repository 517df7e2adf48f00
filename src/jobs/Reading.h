// How the job methods read a column: its value joined to an empty text, and a
// number converted from that text, so a missing value counts as empty or 0.
#pragma once

#include "host/db/Recordset.h"
#include "host/services/ConvertTools.h"

#include <string_view>

namespace kz8mrp::jobs {

inline double NumberOf(const host::ConvertTools& convert, const db::Recordset& rs,
                       std::string_view column) {
  return convert.ToDouble(rs.Text(column));
}

// The suffixes of the three units of measure every quantity is kept in.
inline constexpr const char* kUnitSuffixes[] = {"", "2", "3"};

}  // namespace kz8mrp::jobs
