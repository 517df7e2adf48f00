#include "host/db/Value.h"

#include <kz8mrp/Error.h>

#include "common/Text.h"

namespace kz8mrp::db {

std::string Value::AsText() const {
  switch (kind()) {
    case Kind::Null:
      return {};
    case Kind::Number:
      return text::NumberText(number());
    case Kind::Text:
      return text();
    case Kind::Date:
      return date().ToString();
  }
  return {};
}

double Value::AsNumber() const {
  switch (kind()) {
    case Kind::Null:
      throw Error(errc::kInvalidUseOfNull, "Invalid use of Null");
    case Kind::Number:
      return number();
    case Kind::Date:
      return date().Serial();
    case Kind::Text: {
      double n = 0;
      if (!text::ParseNumber(text(), n)) {
        throw Error(errc::kTypeMismatch, "Type mismatch: '" + text() + "' is not a number");
      }
      return n;
    }
  }
  return 0;
}

OleDate Value::AsDate() const {
  switch (kind()) {
    case Kind::Null:
      throw Error(errc::kInvalidUseOfNull, "Invalid use of Null");
    case Kind::Number:
      return OleDate(number());
    case Kind::Date:
      return date();
    case Kind::Text:
      return OleDate::Parse(text());
  }
  return {};
}

bool Value::operator==(const Value& other) const {
  if (kind() != other.kind()) return false;
  switch (kind()) {
    case Kind::Null:
      return true;
    case Kind::Number:
      return number() == other.number();
    case Kind::Text:
      return text() == other.text();
    case Kind::Date:
      return date() == other.date();
  }
  return false;
}

}  // namespace kz8mrp::db
