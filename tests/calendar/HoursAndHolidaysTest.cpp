#include <kz8mrp/Error.h>

#include "Plant.h"
#include "support/Errors.h"

namespace kz8test {
namespace {

using kz8mrp::KZ8HourType;

class HoursAndHolidaysTest : public PlantTest {
 protected:
  double Hours(int type, const std::string& section) {
    return engine_.GETHourPerDay(static_cast<KZ8HourType>(type), section, *data_);
  }
  bool IsHoliday(OleDate day, const std::string& branch = "") {
    return engine_.isMRPHoliday(day, branch, *data_);
  }
  OleDate Move(OleDate day, bool forward) {
    return engine_.MoveToOfficeHourDate(day, forward, "HQ", *data_);
  }
  int MoveError(OleDate day, bool forward) {
    return ErrorNumberOf([&] { Move(day, forward); });
  }
};

// Section column first, then the plant setting, then the usual hours.
TEST_P(HoursAndHolidaysTest, HoursPerDayFallBackFromSectionToSettingToDefault) {
  InsertRows(
      "KZ8TSection",
      {"TSecCode", "TSecHOffice", "TSecHWithOT1", "TSecHWithOT2", "TSecH2Shift", "TSecHFullDay"},
      {{"FULL", 7.5, 10, 12, 15, 22},
       {"ZERO", 0, 0, 0, 0, 0},
       {"NULL", {}, {}, {}, {}, {}},
       {"NEG", -2, -1, 0, -16, 0},
       {"A'B", 6, 0, 0, 0, 0}});
  const double full[] = {7.5, 10, 12, 15, 22, 7.5};
  const double defaults[] = {8, 11, 13, 16, 24, 8};
  for (int type = 0; type <= 5; ++type) {
    EXPECT_EQ(Hours(type, "FULL"), full[type]) << type;
    EXPECT_EQ(Hours(type, "ZERO"), defaults[type]) << type;
    EXPECT_EQ(Hours(type, "NULL"), defaults[type]) << type;
    EXPECT_EQ(Hours(type, "NO SUCH"), defaults[type]) << type;
  }
  EXPECT_EQ(Hours(99, "FULL"), 7.5);
  EXPECT_EQ(Hours(-1, "ZERO"), 8);
  EXPECT_EQ(Hours(0, "NEG"), -2);  // negative hours are passed on unchanged
  EXPECT_EQ(Hours(3, "NEG"), -16);
  EXPECT_EQ(Hours(0, "A'B"), 6);  // codes are values, not SQL
  EXPECT_EQ(Hours(0, "' OR TSecCode='FULL"), 8);

  Setting("MRPHourPerDay", "9");
  Setting("MRPHourPerDayWithOT1", "10.5");
  Setting("MRPHourPerDayWithOT2", "-3");
  const double with_settings[] = {9, 10.5, -3, 16, 24, 9};
  for (int type = 0; type <= 5; ++type) {
    EXPECT_EQ(Hours(type, "ZERO"), with_settings[type]) << type;
    EXPECT_EQ(Hours(type, "NO SUCH"), with_settings[type]) << type;
  }
  EXPECT_EQ(Hours(42, "ZERO"), 9);
  EXPECT_EQ(Hours(0, "FULL"), 7.5);  // a section's own hours win over the setting
  Setting("MRPHourPerDay", "0");
  EXPECT_EQ(Hours(5, "ZERO"), 8);
  Setting("MRPHourPerDay", "many");
  EXPECT_THROW(Hours(0, "ZERO"), kz8mrp::Error);
  EXPECT_EQ(Hours(4, "ZERO"), 24);  // regimes without a setting never read one
}

TEST_P(HoursAndHolidaysTest, HolidaysComeFromRowsWithAYear) {
  const OleDate monday = Jan(4);
  Holiday(monday);
  Holiday(monday.AddDays(1), 0);        // switched off
  Holiday(monday.AddDays(2), Value());  // year never set
  Holiday(OleDate::FromParts(1899, 12, 29));
  // Any time of the day, every branch alike; a Sunday without a row is
  // worked; -1.75 is 1899-12-29 18:00, -0.75 1899-12-30 18:00.
  std::string off = IsHoliday(monday, "BR9") ? "y" : "n";
  for (const OleDate d : {monday, monday.AddHours(23.99), monday.AddDays(1), monday.AddDays(2),
                          monday.AddDays(-1), OleDate(-1.75), OleDate(-0.75)}) {
    off += IsHoliday(d) ? "y" : "n";
  }
  EXPECT_EQ(off, "yyynnnyn");
}

// The search step grows a day per try: iDate, then 1, 3, 6, 10 ... days away.
TEST_P(HoursAndHolidaysTest, NearestWorkingDateSkipsWithAGrowingStepWithinTheDateRange) {
  const OleDate monday = Jan(4);
  for (const int d : {0, 1, 3, -1, -3}) Holiday(monday.AddDays(d));
  const OleDate morning = monday.AddHours(9.5);
  EXPECT_EQ(Move(morning, true), monday.AddDays(6).AddHours(9.5));  // +2 was a working day
  EXPECT_EQ(Move(morning, false), monday.AddDays(-6).AddHours(9.5));
  // A working day is returned as given, time of day included.
  const OleDate wednesday = monday.AddDays(2).AddHours(13.25);
  EXPECT_EQ(Move(wednesday, true).Serial(), wednesday.Serial());
  EXPECT_EQ(Move(wednesday, false).Serial(), wednesday.Serial());
  // A switched-off holiday is a working day: the search stops there.
  Holiday(monday.AddDays(6));
  Holiday(monday.AddDays(10), 0);
  EXPECT_EQ(Move(monday, true), monday.AddDays(10));

  const OleDate last = OleDate::FromParts(9999, 12, 25);
  for (const int d : {0, 1, 3, 6}) Holiday(last.AddDays(d));  // 6 is 9999-12-31
  EXPECT_EQ(MoveError(last, true), kz8mrp::errc::kOverflow);
  EXPECT_EQ(Move(last, false), last.AddDays(-1));

  const OleDate first = OleDate::FromParts(100, 1, 7);
  for (const int d : {0, -1, -3, -6}) Holiday(first.AddDays(d));  // -6 is 0100-01-01
  EXPECT_EQ(MoveError(first, false), kz8mrp::errc::kOverflow);
  EXPECT_EQ(Move(first, true), first.AddDays(1));
}

// Every day a holiday: the candidates run out of the valid dates (n(n+1)/2
// days away) after 2432 tries from 1899-12-30, long before the 16-bit step
// counter could reach 32767 and overflow.
class EveryDayOff : public kz8mrp::MRPObject {
 public:
  bool isMRPHoliday(OleDate, const kz8mrp::String&, kz8mrp::DataObj&) override {
    ++asked;
    return true;
  }
  int asked = 0;
};

TEST_P(HoursAndHolidaysTest, EndlessHolidaysEndInAnOverflow) {
  EveryDayOff engine;
  EXPECT_EQ(ErrorNumberOf([&] { engine.MoveToOfficeHourDate(OleDate(0), true, "", *data_); }),
            kz8mrp::errc::kOverflow);
  EXPECT_EQ(engine.asked, 2432);
}

KZ8_INSTANTIATE_DB_TEST(HoursAndHolidaysTest);

}  // namespace
}  // namespace kz8test
