// The one error type of the engine. Conversions fail with the numbers the
// automation runtime used; database errors carry the database's own code.
#pragma once

#include <stdexcept>
#include <string>

namespace kz8mrp {

namespace errc {
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;  // a result too large to hold (a runaway explosion)
inline constexpr int kDivisionByZero = 11;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kInvalidUseOfNull = 94;
inline constexpr int kInvalidArgument = 5;  // invalid procedure call or argument
inline constexpr int kItemNotFound = 3265;  // no such column in the row
inline constexpr int kNoCurrentRecord = 3021;
inline constexpr int kNotAvailable = 445;      // method not built into this engine
inline constexpr int kFileError = 75;          // path/file access error
inline constexpr int kDatabase = -2147467259;  // a server error without a numeric code
}  // namespace errc

class Error : public std::runtime_error {
 public:
  Error(int number, const std::string& text, std::string native_code = {}, std::string sql = {})
      : std::runtime_error(text),
        number_(number),
        native_code_(std::move(native_code)),
        sql_(std::move(sql)) {}

  int Number() const noexcept { return number_; }
  std::string Text() const { return what(); }
  // The database's own code (SQLite result code, PostgreSQL SQLSTATE) or empty.
  const std::string& NativeCode() const noexcept { return native_code_; }
  // The statement that failed, for database errors.
  const std::string& Sql() const noexcept { return sql_; }

 private:
  int number_;
  std::string native_code_;
  std::string sql_;
};

}  // namespace kz8mrp
