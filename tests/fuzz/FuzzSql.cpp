// The splicing helpers, checked by SQLite itself: a quoted text spliced into a
// statement is one literal holding exactly that text; a spliced number never
// joins the minus before it into a comment; "#$" markers become literals only
// outside quoted values and leave everything else as it was.
#include <kz8mrp/Error.h>

#include "fuzz/Property.h"
#include "host/Sql.h"

#include <fuzzer/FuzzedDataProvider.h>
#include <sqlite3.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace sql = kz8mrp::sql;

sqlite3* Memory() {
  static sqlite3* db = [] {
    sqlite3* d = nullptr;
    sqlite3_open(":memory:", &d);
    return d;
  }();
  return db;
}

// The columns of the one row a single statement gives, as text; nothing when
// the text is not exactly one statement that runs.
std::optional<std::vector<std::string>> Row(const std::string& statement) {
  sqlite3_stmt* stmt = nullptr;
  const char* tail = nullptr;
  const int rc = sqlite3_prepare_v2(Memory(), statement.c_str(), static_cast<int>(statement.size()),
                                    &stmt, &tail);
  std::optional<std::vector<std::string>> row;
  if (rc == SQLITE_OK && stmt && *tail == '\0' && sqlite3_step(stmt) == SQLITE_ROW) {
    row.emplace();
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
      const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt, i));
      row->emplace_back(p ? p : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, i)));
    }
  }
  sqlite3_finalize(stmt);
  return row;
}

void TextIsOneLiteral(const std::string& value) {
  std::string literal;
  try {
    literal = sql::Text(value);
  } catch (const kz8mrp::Error&) {
    KZ8_PROPERTY(value.find('\0') != std::string::npos, "only a NUL refuses a text", value);
    return;
  }
  const auto row = Row("SELECT " + literal + ", 'end'");
  KZ8_PROPERTY(row && row->size() == 2 && (*row)[0] == value && (*row)[1] == "end",
               "a spliced text is one literal holding the text", literal);
}

void NumberAfterAMinusStaysANumber(double n) {
  std::string number;
  try {
    number = sql::Number(n);
  } catch (const kz8mrp::Error&) {
    KZ8_PROPERTY(!std::isfinite(n), "only a number that is not finite is refused",
                 std::to_string(n));
    return;
  }
  const auto row = Row("SELECT 1-" + number + ", 'end'");
  KZ8_PROPERTY(row && row->size() == 2 && (*row)[1] == "end",
               "a spliced number after a minus ends where it should", number);
}

// Plain SQL (no quote, '#' or '$'), quoted values, and date markers, put
// together in any order: only the markers change, each into a literal.
void MarkersBecomeLiteralsOutsideQuotes(FuzzedDataProvider& input) {
  std::string statement;
  std::string expected;
  while (input.remaining_bytes() > 0) {
    const int kind = input.ConsumeIntegralInRange(0, 2);
    std::string piece = input.ConsumeRandomLengthString(24);
    std::erase(piece, '\0');
    if (kind == 0) {
      std::erase_if(piece, [](char c) { return c == '\'' || c == '#' || c == '$'; });
      statement += piece;
      expected += piece;
    } else if (kind == 1) {
      statement += sql::Text(piece);
      expected += sql::Text(piece);
    } else {
      for (auto at = piece.find("#$"); at != std::string::npos; at = piece.find("#$"))
        piece.erase(at, 2);
      statement += "#$" + piece + "#$";
      expected += sql::Text(piece);
    }
  }
  KZ8_PROPERTY(sql::ConvertDateMarkers(statement) == expected,
               "markers become literals and nothing else changes", statement);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0:
      TextIsOneLiteral(input.ConsumeRemainingBytesAsString());
      break;
    case 1:
      NumberAfterAMinusStaysANumber(input.ConsumeFloatingPoint<double>());
      break;
    case 2:
      NumberAfterAMinusStaysANumber(static_cast<double>(input.ConsumeIntegral<std::int32_t>()));
      break;
    default:
      MarkersBecomeLiteralsOutsideQuotes(input);
  }
  return 0;
}
