#include "host/db/Convert.h"

#include <kz8mrp/Error.h>

#include "common/Text.h"

#include <cmath>

namespace kz8mrp::db {
namespace {

Value ToNumber(const Value& value, const ColumnInfo& column) {
  double n = 0;
  switch (value.kind()) {
    case Value::Kind::Null:
      return value;
    case Value::Kind::Number:
      n = value.number();
      break;
    case Value::Kind::Date:
      n = value.date().Serial();
      break;
    case Value::Kind::Text:
      if (text::Trim(value.text()).empty()) return Value::Null();
      if (!text::ParseNumber(value.text(), n)) {
        throw Error(errc::kTypeMismatch, "Type mismatch: '" + value.text() +
                                             "' is not a number for column " + column.name);
      }
      break;
  }
  if (!std::isfinite(n)) {
    throw Error(errc::kOverflow, "Overflow: column " + column.name + " takes no infinite number");
  }
  if (column.type == ColumnType::Integer) {
    n = std::nearbyint(n);  // the default rounding mode rounds half to even
    if (std::fabs(n) > 2147483647.0) {
      throw Error(errc::kOverflow,
                  "Overflow: " + text::NumberText(n) + " for column " + column.name);
    }
  }
  return Value(n);
}

Value ToDate(const Value& value, const ColumnInfo& column) {
  switch (value.kind()) {
    case Value::Kind::Null:
    case Value::Kind::Date:
      return value;
    case Value::Kind::Number:
      return Value(OleDate(value.number()));
    case Value::Kind::Text: {
      if (text::Trim(value.text()).empty()) return Value::Null();
      OleDate d;
      if (!OleDate::TryParse(text::Trim(value.text()), d)) {
        throw Error(errc::kTypeMismatch, "Type mismatch: '" + value.text() +
                                             "' is not a date for column " + column.name);
      }
      return Value(d);
    }
  }
  return value;
}

}  // namespace

Value ConvertForColumn(const Value& value, const ColumnInfo& column) {
  switch (column.type) {
    case ColumnType::Text:
      return value.IsNull() ? value : Value(value.AsText());
    case ColumnType::Integer:
    case ColumnType::Real:
      return ToNumber(value, column);
    case ColumnType::Date:
      return ToDate(value, column);
  }
  return value;
}

}  // namespace kz8mrp::db
