// What a value becomes when it is written to a column of a given type. Decided
// once, here, for both databases.
#pragma once

#include "host/db/Backend.h"
#include "host/db/Value.h"

namespace kz8mrp::db {

// Text into a number column: a blank text is null, a number text its number,
// anything else error 13. Whole-number columns round half to even (error 6
// beyond 32 bits). Dates into number columns give their serial. Numbers and
// dates into text columns give their text. Text into a date column must read
// as a date; a blank text is null; a number is a serial date.
Value ConvertForColumn(const Value& value, const ColumnInfo& column);

}  // namespace kz8mrp::db
