#include <kz8mrp/Error.h>

#include "host/services/SettingKeys.h"
#include "host/services/SettingTools.h"
#include "support/Errors.h"
#include "support/TestDb.h"

#include <optional>
#include <set>

namespace kz8test {
namespace {

using kz8mrp::OleDate;

class SettingToolsTest : public DbTest {
 protected:
  kz8mrp::host::SettingTools tools_;

  enum class ReadAs { Number, Text, Flag };
  // The setting as the engine reads it, as text; the error's text when it fails.
  std::string Read(ReadAs as, const char* key) {
    std::string got;
    const auto e = ErrorFrom([&] {
      if (as == ReadAs::Number) got = std::to_string(tools_.GetNumberStr(key, connection_string_));
      if (as == ReadAs::Text) got = tools_.GetText(key, data_->Connection());
      if (as == ReadAs::Flag) {
        got = tools_.GetFlag(client_.Identity(), key, connection_string_, app_.Identity(), true)
                  ? "True"
                  : "False";
      }
    });
    return e ? e->Text() : got;
  }
  std::string Number(std::string_view kind, std::string_view book, OleDate date) {
    return tools_.NewDocumentNo2(kind, data_->Connection(), date, "HQ", book);
  }
};

// Each stored text as the engine reads it under its key (absent and blank mean
// not set), and whether a writer may store it. A text the engine cannot read is
// an error naming the setting, whoever stored it.
TEST_P(SettingToolsTest, EachSettingIsReadAsItsKindAndWrittenOnlyIfReadable) {
  using enum ReadAs;
  const std::string zero = std::to_string(0.0);
  const std::tuple<ReadAs, const char*, std::optional<std::string>, std::string, bool> cases[] = {
      {Number, "MRPHourPerDay", "7.5", std::to_string(7.5), true},
      {Number, "MRPHourPerDay", " ", zero, true},
      {Number, "MRPHourPerDay", std::nullopt, zero, true},
      {Number, "MRPHourPerDay", "abc",
       "Type mismatch: the setting MRPHourPerDay holds 'abc', which is not a number of hours",
       false},
      {Number, "MRPHourPerDayWithOT1", "25", std::to_string(25.0), false},  // not in a day
      {Number, "MRPPercentOrderMode", "1.5", std::to_string(1.5), false},
      {Number, "GetBOMHourMultiplyMan", "40000",
       "Overflow: the setting GetBOMHourMultiplyMan holds '40000'", false},
      {Text, "MRPDEFAULTPRODUCTIONBOOK", "PD 'A'", "PD 'A'", true},
      {Text, "MRPDEFAULTPRODUCTIONBOOK", std::nullopt, "", true},
      {Flag, "ACCOUNTIGNOREJOBCOMPLETED", " false ", "False", true},
      {Flag, "ACCOUNTIGNOREJOBCOMPLETED", "n", "False", true},
      {Flag, "ACCOUNTIGNOREJOBCOMPLETED", "-1", "True", true},
      {Flag, "ACCOUNTIGNOREJOBCOMPLETED", "", "True", true},
      {Flag, "ACCOUNTIGNOREJOBCOMPLETED", std::nullopt, "True", true},
      {Flag, "ACCOUNTIGNOREJOBCOMPLETED", "perhaps",
       "Type mismatch: the setting ACCOUNTIGNOREJOBCOMPLETED holds 'perhaps'", false},
      // The engine reads no other key, nor one as another kind; others' keys take any text.
      {Text, "OTHER.PROGRAM", "x", "the setting OTHER.PROGRAM is not listed", true},
      {Text, "MRPHourPerDay", "8", "the setting MRPHourPerDay is not listed", true},
  };
  for (const auto& [as, key, stored, expected, storable] : cases) {
    Exec("DELETE FROM KZ8TSetting");
    if (stored) Setting(key, *stored);
    EXPECT_EQ(Read(as, key).substr(0, expected.size()), expected)
        << key << "=" << stored.value_or("(absent)");
    if (!stored) continue;
    const std::string value = *stored;
    const char* const name = key;
    const auto refused = ErrorFrom([&] { kz8mrp::host::CheckSettingValue(name, value); });
    EXPECT_EQ(!refused, storable) << key << "=" << *stored;
    if (refused) {
      EXPECT_THAT(refused->Text(), HasSubstr(std::string(key) + " takes"));
    }
  }
  const auto miscased = ErrorFrom([&] { kz8mrp::host::CheckSettingValue("mrphourperday", "8"); });
  ASSERT_TRUE(miscased);
  EXPECT_THAT(miscased->Text(), HasSubstr("did you mean MRPHourPerDay?"));
}

TEST_P(SettingToolsTest, NumbersAreUniquePerKindBookAndMonth) {
  const OleDate jan = OleDate::FromParts(2027, 1, 4);
  std::set<std::string> issued;
  const auto draw = [&](std::string_view kind, std::string_view book, OleDate date) {
    std::string number = Number(kind, book, date);
    EXPECT_TRUE(issued.insert(number).second) << "issued twice: " << number;
  };
  draw("JOB", "", jan);
  draw("JOB", "", OleDate::FromParts(2027, 1, 31, 23, 59, 59));
  draw("JOB", "", OleDate::FromParts(2027, 2, 1));  // a new month starts its own count
  draw("JOB", "B1", jan);
  draw("JOB", "B2", jan);
  draw("JOB", "B1", jan);
  draw("MPS", "", jan);
  // A book of "-" is shown as no book; it must still not repeat the numbers of no book.
  draw("JOB", "-", jan);
  draw("JOB", "", jan);
  // Production and process orders share one table, and their short tags too.
  for (const char* kind : {"PRODUCTION", "PRODUCTIONPROCESS", "PD", "pp"}) draw(kind, "PD", jan);
  EXPECT_THROW(Number("", "", jan), kz8mrp::Error);
}

KZ8_INSTANTIATE_DB_TEST(SettingToolsTest);

}  // namespace
}  // namespace kz8test
