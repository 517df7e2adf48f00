// A value read from or written to a column: null, number, text or date.
#pragma once

#include <kz8mrp/OleDate.h>

#include <cstdint>
#include <string>
#include <variant>

namespace kz8mrp::db {

class Value {
 public:
  enum class Kind { Null, Number, Text, Date };

  Value() = default;
  Value(double n) : v_(n) {}                             // NOLINT(google-explicit-constructor)
  Value(int n) : v_(static_cast<double>(n)) {}           // NOLINT(google-explicit-constructor)
  Value(std::int64_t n) : v_(static_cast<double>(n)) {}  // NOLINT(google-explicit-constructor)
  Value(std::string s) : v_(std::move(s)) {}             // NOLINT(google-explicit-constructor)
  Value(const char* s) : v_(std::string(s)) {}           // NOLINT(google-explicit-constructor)
  Value(std::string_view s) : v_(std::string(s)) {}      // NOLINT(google-explicit-constructor)
  Value(OleDate d) : v_(d) {}                            // NOLINT(google-explicit-constructor)
  Value(bool) = delete;                                  // statuses are numbers: say 1 or 0

  static Value Null() { return {}; }

  Kind kind() const { return static_cast<Kind>(v_.index()); }
  bool IsNull() const { return kind() == Kind::Null; }

  // The value joined to an empty text: null gives "", a number its shortest
  // round-trip text, a date "YYYY-MM-DD HH:MM:SS".
  std::string AsText() const;
  // Strict conversions: null is error 94, an unreadable text error 13.
  double AsNumber() const;
  OleDate AsDate() const;

  // Raw access; the caller has checked kind().
  double number() const { return std::get<double>(v_); }
  const std::string& text() const { return std::get<std::string>(v_); }
  OleDate date() const { return std::get<OleDate>(v_); }

  bool operator==(const Value& other) const;

 private:
  std::variant<std::monostate, double, std::string, OleDate> v_;
};

}  // namespace kz8mrp::db
