// Dates and numbers in memory and as text.
#include <kz8mrp/Error.h>
#include <kz8mrp/OleDate.h>

#include "common/Text.h"
#include "support/Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

namespace {

using kz8mrp::OleDate;
using kz8mrp::TimeOfDay;
using kz8mrp::text::NumberText;
using kz8mrp::text::ParseNumber;

using kz8test::ErrorNumberOf;

// Built while the program's statics are initialised, before or after the library's own.
const OleDate kBuiltEarly = OleDate::FromParts(2027, 1, 4, 8);

// Before 1899-12-30 the whole part counts back while the fraction still runs
// forward: -1.25 is 1899-12-29 06:00 and -1.75 is six hours before the next day.
TEST(OleDate, SerialsOfKnownDaysBeforeAndAfterTheEpoch) {
  EXPECT_EQ(kBuiltEarly.ToString(), "2027-01-04 08:00:00");
  const auto serial = [](int y, int m, int d, int h = 0) {
    return OleDate::FromParts(y, m, d, h).Serial();
  };
  EXPECT_EQ((std::vector{serial(1899, 12, 30), serial(1900, 1, 1), serial(2000, 1, 1),
                         serial(2027, 1, 4, 18), serial(100, 1, 1), serial(9999, 12, 31),
                         serial(1899, 12, 29, 6), serial(1899, 12, 29, 18), serial(1800, 1, 1)}),
            (std::vector{0.0, 2.0, 36526.0, 46391.75, OleDate::kMinSerial, OleDate::kMaxSerial,
                         -1.25, -1.75, -36522.0}));
  EXPECT_EQ(OleDate(46391.75).ToString(), "2027-01-04 18:00:00");
  // The calendar day drops the time of day.
  const OleDate evening = OleDate::FromParts(2027, 1, 4, 23, 59, 59);
  EXPECT_EQ(evening.CalendarDay().ToString(), "2027-01-04 00:00:00");
  EXPECT_EQ(OleDate::FromParts(2024, 2, 29, 12).CalendarDay().DateText(), "2024-02-29");
  EXPECT_EQ((std::vector{evening.Year(), evening.Month(), evening.Day()}),
            (std::vector{2027, 1, 4}));
  EXPECT_EQ(OleDate(-1.25).ToString(), "1899-12-29 06:00:00");
  EXPECT_EQ(OleDate(-0.5).ToString(), "1899-12-30 12:00:00");  // -0.5 and 0.5 are one time

  // Arithmetic runs on the time line, across the epoch in both directions.
  EXPECT_EQ((std::vector{OleDate(-1.25).AddDays(2).Serial(), OleDate(-1.25).AddHours(12).Serial(),
                         OleDate(0.25).AddHours(-12).Serial(), OleDate(1.25).AddDays(-2).Serial(),
                         OleDate(-1.75).DaysSince(OleDate(-1.25)),
                         OleDate(0.25).DaysSince(OleDate(-1.75))}),
            (std::vector{1.25, -1.75, -1.75, -1.25, 0.5, 0.5}));

  // Comparison follows the time line, not the serial.
  EXPECT_LT(OleDate(-1.25), OleDate(-1.75));
  EXPECT_LT(OleDate(-1.75), OleDate(0.0));
  EXPECT_EQ(OleDate(-0.5), OleDate(0.5));

  EXPECT_EQ(OleDate(-1.75).CalendarDay().Serial(), -1.0);
  EXPECT_EQ(OleDate(-36522.9).ToString(), "1800-01-01 21:36:00");
  EXPECT_EQ(OleDate(-36522.9).CalendarDay().Serial(), -36522.0);
  EXPECT_EQ(OleDate(-1.75).DayOfWeek(), 5);  // a Friday
  EXPECT_EQ(OleDate(0).DayOfWeek(), 6);      // a Saturday
}

// Weeks start on Sunday; week 1 is the week holding 1 January. 2023 begins on a Sunday, 2022 on a
// Saturday (the next day already opens week 2), 2027 on a Friday, 1899 on a Sunday.
TEST(OleDate, WeekOfYear) {
  std::string weeks;
  for (const OleDate d : {OleDate::FromParts(2023, 1, 1), OleDate::FromParts(2023, 1, 7, 23),
                          OleDate::FromParts(2023, 1, 8), OleDate::FromParts(2022, 1, 1),
                          OleDate::FromParts(2022, 1, 2), OleDate::FromParts(2022, 12, 31),
                          OleDate::FromParts(2027, 1, 2), OleDate::FromParts(2027, 1, 4, 9),
                          OleDate::FromParts(1899, 12, 29, 18), OleDate::FromParts(1899, 12, 31)}) {
    weeks += std::to_string(d.WeekOfYear()) + " ";
  }
  EXPECT_EQ(weeks, "1 1 2 1 2 53 1 2 52 53 ");
}

// Stored times are whole seconds, rounded: 08:00 reached by adding hours must
// never come out as 07:59:59.
TEST(OleDate, TimesRoundToTheNearestSecond) {
  const OleDate day = OleDate::FromParts(2027, 1, 4);
  OleDate t = day;
  for (int i = 0; i < 80; ++i) t = t.AddHours(0.1);
  EXPECT_NE(t.Serial(), day.Serial() + 1.0 / 3);   // the sum is not exact...
  EXPECT_EQ(t.ToString(), "2027-01-04 08:00:00");  // ...its text is
  EXPECT_EQ(OleDate(day.Serial() + TimeOfDay(8) - 1e-9).ToString(), "2027-01-04 08:00:00");
  EXPECT_EQ(OleDate::FromParts(2027, 1, 4, 7, 59, 59.5).ToString(), "2027-01-04 08:00:00");
  EXPECT_EQ(OleDate::FromParts(2027, 1, 4, 7, 59, 59.4).ToString(), "2027-01-04 07:59:59");
  // A time a hair before midnight belongs, rounded, to the next day.
  EXPECT_EQ(OleDate(day.Serial() + 1 - 1e-7).CalendarDay().DateText(), "2027-01-05");
  EXPECT_EQ(OleDate(-1.0 - TimeOfDay(8) + 1e-9).ToString(), "1899-12-29 08:00:00");
}

TEST(OleDate, OutsideTheValidRangeIsAnError) {
  constexpr int kOverflow = kz8mrp::errc::kOverflow;
  constexpr int kMismatch = kz8mrp::errc::kTypeMismatch;
  // The last second of 9999 is valid; rounding up past it is not. Fields that
  // name no day are a type mismatch.
  EXPECT_EQ(OleDate::FromParts(9999, 12, 31, 23, 59, 59).ToString(), "9999-12-31 23:59:59");
  const std::pair<std::function<void()>, int> cases[] = {
      {[] { OleDate::FromParts(99, 12, 31); }, kOverflow},
      {[] { OleDate::FromParts(10000, 1, 1); }, kOverflow},
      {[] { OleDate::FromParts(9999, 12, 31).AddDays(1); }, kOverflow},
      {[] { OleDate::FromParts(100, 1, 1).AddHours(-1); }, kOverflow},
      {[] { (void)OleDate(3e6).ToString(); }, kOverflow},
      {[] { (void)OleDate(std::nan("")).CalendarDay(); }, kOverflow},
      {[] { (void)OleDate(OleDate::kMaxSerial + 1 - 1e-7).ToString(); }, kOverflow},
      {[] { OleDate::FromParts(2027, 2, 29); }, kMismatch},
      {[] { OleDate::FromParts(2027, 1, 4, 24); }, kMismatch}};
  int row = 0;
  for (const auto& [call, number] : cases) EXPECT_EQ(ErrorNumberOf(call), number) << row++;
}

TEST(OleDate, ParsesTheThreeForms) {
  std::string read;
  for (const char* text : {"2027-01-04", "2027-01-04 08:30", "2027-01-04 08:30:15",
                           "2027-01-04T08:30:15", "2024-02-29", "9999-12-31 23:59:59"}) {
    read += OleDate::Parse(text).ToString() + "; ";
  }
  EXPECT_EQ(read,
            "2027-01-04 00:00:00; 2027-01-04 08:30:00; 2027-01-04 08:30:15; 2027-01-04 08:30:15; "
            "2024-02-29 00:00:00; 9999-12-31 23:59:59; ");
  EXPECT_EQ(OleDate::Parse("1899-12-29 06:00").Serial(), -1.25);
  EXPECT_EQ(OleDate::Parse("0100-01-01").Serial(), OleDate::kMinSerial);

  for (const char* bad :
       {"", "2027-1-4", "2027/01/04", "04-01-2027", "2027-02-29", "2027-13-01", "2027-01-04 24:00",
        "2027-01-04 08", "2027-01-04 08:60", "2027-01-04 08:30:60", "2027-01-04 08:30:15.5",
        "2027-01-04 ", " 2027-01-04", "0099-12-31", "2027-01-04x"}) {
    OleDate out(123.0);
    EXPECT_FALSE(OleDate::TryParse(bad, out)) << bad;
    EXPECT_EQ(out.Serial(), 123.0) << bad;
    EXPECT_EQ(ErrorNumberOf([bad] { OleDate::Parse(bad); }), kz8mrp::errc::kTypeMismatch) << bad;
  }
}

// Numbers turned into text (what a column "joined to an empty text" gives)
// must read back as the very same double; text is read in the C locale only.
TEST(NumberText, ShortestTextThatReadsBackExactlyAndDecimalText) {
  EXPECT_EQ(NumberText(8) + " " + NumberText(-12) + " " + NumberText(-0.0) + " " + NumberText(7.5) +
                " " + NumberText(0.1 + 0.2) + " " + NumberText(1e16),
            "8 -12 0 7.5 0.30000000000000004 10000000000000000");
  // That every double reads back from its text is the numbers fuzz target's.
  double back = 0;
  for (const auto& [text, value] : {std::pair{" 12.5 ", 12.5}, {"+3", 3.0}, {"-1e3", -1000.0}})
    EXPECT_TRUE(ParseNumber(text, back) && back == value) << text;
  for (const char* bad :
       {"", " ", "12,5", "1 000", "abc", "12abc", "inf", "nan", "1e999", "+-5", "0x10", "--5"}) {
    EXPECT_FALSE(ParseNumber(bad, back)) << bad;
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

}  // namespace
