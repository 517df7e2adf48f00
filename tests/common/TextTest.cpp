#include "common/Text.h"

#include <gtest/gtest.h>

namespace {

using kz8mrp::text::NumberText;
using kz8mrp::text::ParseNumber;

// Numbers turned into text (what a column "joined to an empty text" gives)
// must read back as the very same double.
TEST(NumberText, ShortestTextThatReadsBackExactly) {
  EXPECT_EQ(NumberText(8), "8");
  EXPECT_EQ(NumberText(-12), "-12");
  EXPECT_EQ(NumberText(-0.0), "0");
  EXPECT_EQ(NumberText(7.5), "7.5");
  EXPECT_EQ(NumberText(0.1 + 0.2), "0.30000000000000004");
  EXPECT_EQ(NumberText(1e16), "10000000000000000");
  for (const double v : {1.0 / 3, 2.0 / 3 * 1e-300, 123456789.123456789, 9007199254740993.0,
                         -4.9e-324, 1.7976931348623157e308, 1e21, 46391.333333333336}) {
    double back = 0;
    ASSERT_TRUE(ParseNumber(NumberText(v), back)) << NumberText(v);
    EXPECT_EQ(back, v) << NumberText(v);
  }
}

// Terminal cells, whatever locale the program was started in: Thai marks above
// and below sit on their letter, SARA AM takes a cell, CJK takes two.
TEST(DisplayWidth, CountsTheCellsATerminalShows) {
  const std::pair<const char*, std::size_t> cases[] = {
      {"", 0},     {"abc", 3},         {"กำ", 2}, {"กิ่ง", 2}, {"งานเก้าอี้ไม้สัก", 11},
      {"漢字", 4}, {"\xE2\x80\xA6", 1}};
  for (const auto& [text, cells] : cases)
    EXPECT_EQ(kz8mrp::text::DisplayWidth(text), cells) << text;
}

TEST(ParseNumber, DecimalTextInTheCLocaleOnly) {
  double n = 0;
  EXPECT_TRUE(ParseNumber(" 12.5 ", n));
  EXPECT_EQ(n, 12.5);
  EXPECT_TRUE(ParseNumber("+3", n));
  EXPECT_EQ(n, 3);
  EXPECT_TRUE(ParseNumber("-1e3", n));
  EXPECT_EQ(n, -1000);
  for (const char* bad :
       {"", " ", "12,5", "1 000", "abc", "12abc", "inf", "nan", "1e999", "+-5", "0x10", "--5"}) {
    EXPECT_FALSE(ParseNumber(bad, n)) << bad;
  }
}

}  // namespace
