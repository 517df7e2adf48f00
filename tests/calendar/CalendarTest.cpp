// Working hours and holidays of the plant, hours already reserved on the
// schedule, and the working hours one unit of a product takes along its routing.
#include <kz8mrp/Error.h>

#include "Plant.h"
#include "support/Errors.h"

namespace kz8test {
namespace {

using kz8mrp::Error;
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
  // Every regime, then an unknown one read as office hours.
  const auto hours = [&](const char* section, std::vector<int> types = {0, 1, 2, 3, 4, 5, 99}) {
    std::string out;
    for (const int type : types) out += kz8mrp::text::NumberText(Hours(type, section)) + " ";
    return out;
  };
  EXPECT_EQ(hours("FULL"), "7.5 10 12 15 22 7.5 7.5 ");
  for (const char* s : {"ZERO", "NULL", "NO SUCH"}) EXPECT_EQ(hours(s), "8 11 13 16 24 8 8 ") << s;
  // Negative hours are passed on unchanged; codes are values, not SQL.
  EXPECT_EQ(hours("NEG", {0, 3}) + hours("A'B", {0}) + hours("' OR TSecCode='FULL", {0}) +
                hours("ZERO", {-1}),
            "-2 -16 6 8 8 ");
  Setting("MRPHourPerDay", "9");
  Setting("MRPHourPerDayWithOT1", "10.5");
  Setting("MRPHourPerDayWithOT2", "-3");
  for (const char* s : {"ZERO", "NO SUCH"}) EXPECT_EQ(hours(s), "9 10.5 -3 16 24 9 9 ") << s;
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

class CapacityTest : public PlantTest {
 protected:
  void SetUp() override {
    PlantTest::SetUp();
    // Monday on Cutting: two lines of job J1, a machine holiday and maintenance.
    Reserve({"CUT", Jan(4, 8), 3, "WIP", "J1", 1});
    Reserve({"CUT", Jan(4, 11), 2, "WIP", "J1", 2});
    Reserve({"CUT", Jan(4, 13), 1, "HD"});
    Reserve({"CUT", Jan(4, 14), 0.5, "MM"});
    // What never takes capacity: a finished-goods booking, a cancelled reservation.
    Reserve({"CUT", Jan(4, 8), 8, "FG", "J1", 1});
    Reserve({"CUT", Jan(4, 8), 4, "WIP", "J2", 1, 0});
    Reserve({"CUT", Jan(4, 15), 0});
    Exec("UPDATE KZ8TMPS SET TMPSHour=NULL WHERE TMPSNo='R7'");
    // Elsewhere: another section, another day.
    Reserve({"ASM", Jan(4, 8), 5, "HD"});
    Reserve({"CUT", Jan(5, 8), 7, "MM", "J1", 1});
    // Two days of 8 hours by three men, then a day of 4 hours by nobody named.
    RoutingStep("P1", 1, 2, 8, 3);
    RoutingStep("P1", 2, 1, 4, 0);
    Insert("KZ8TProduct2", {{"TPd2TPdtCode", "P1"}, {"TPd2TotalQuantity", 10}});
  }
  void RoutingStep(const std::string& product, int step, Value days, Value hours_per_day, int men) {
    InsertRows("KZ8TProductMethod",
               {"TSpdTPdtCode", "TSpdStep", "TSpdEstimateDay", "TSpdHourPerDay", "TSpdMan"},
               {{product, step, std::move(days), std::move(hours_per_day), men}});
  }
  double PerUnit(const std::string& product, kz8mrp::Integer from_step = 0, bool full_down = true) {
    return engine_.GETBOMHourPerUnit(product, from_step, *data_, full_down);
  }
};

// With a job given, only that job's own bookings count (all its lines, or
// one); the time of day is ignored; section codes are values, never SQL.
TEST_P(CapacityTest, DaySumOfASectionWithEqualityJobFiltersAndQuotedCodes) {
  Reserve({"O'NEIL", Jan(4, 8), 2});
  const auto day = [&](const std::string& section, OleDate d, const std::string& job = "",
                       int line = 0) {
    return engine_.GETCapAsDate(section, d, job, line, *data_);
  };
  EXPECT_EQ(
      (std::vector<double>{day("CUT", Jan(4)), day("CUT", Jan(4, 16, 30)), day("CUT", Jan(4), "J1"),
                           day("CUT", Jan(4), "J1", 2), day("CUT", Jan(4), "", 1),
                           day("CUT", Jan(4), "J2"), day("ASM", Jan(4)), day("PNT", Jan(4)),
                           day("O'NEIL", Jan(4)), day("CUT' OR '1'='1", Jan(4)),
                           engine_.GETCapPlaned("CUT' OR '1'='1", Jan(4), Jan(6), *data_)}),
      (std::vector<double>{6.5, 6.5, 5, 2, 3, 0, 5, 0, 2, 0, 0}));
}

// The dates' times are dropped: a period to Tuesday 23:00 still ends at
// midnight, so Tuesday's maintenance lies outside it. A night shift that runs
// past the period's end is left out altogether. Holidays and maintenance are
// of every section alike, whatever section is named.
TEST_P(CapacityTest, PeriodsCountOnlyReservationsWhollyInside) {
  Reserve({"CUT", Jan(4, 23), 2, "HD"});
  EXPECT_EQ((std::vector<double>{engine_.GETCapPlaned("CUT", Jan(4), Jan(5), *data_),
                                 engine_.GETCapPlaned("CUT", Jan(4, 10), Jan(5, 23), *data_),
                                 engine_.GETCapPlaned("CUT", Jan(4), Jan(6), *data_),
                                 engine_.GETHoliday("CUT", Jan(4), Jan(5), *data_),
                                 engine_.GETHoliday("ANY", Jan(4), Jan(6), *data_),
                                 engine_.GETPMDay("", Jan(4), Jan(6), *data_),
                                 engine_.GETPMDay("M-01", Jan(4), Jan(6), *data_),
                                 engine_.GETPMDay("", Jan(11), Jan(12), *data_)}),
            (std::vector<double>{6.5, 6.5, 15.5, 6, 8, 7.5, 7.5, 0}));
}

TEST_P(CapacityTest, RoutingHoursManpowerModesLotSizeAndMissingHours) {
  // No setting: (16 + 4) / 10; 1: (16 x 3 + 4 x 1) / 10; 2: 20 x (3 + 0) / 10.
  for (const auto& [mode, hours] : {std::pair{"", 2.0}, {"1", 5.2}, {"2", 6.0}, {"7", 2.0}}) {
    if (*mode) Setting("GetBOMHourMultiplyMan", mode);
    EXPECT_DOUBLE_EQ(PerUnit("P1"), hours) << mode;
  }
  Setting("GetBOMHourMultiplyMan", "2");
  RoutingStep("P2", 1, 2, 8, 0);
  RoutingStep("P2", 2, 1, 4, 0);
  EXPECT_DOUBLE_EQ(PerUnit("P2"), 20);  // no men named: counts as one, and no lot size

  // Without a positive lot size the total is not divided; a step without hours is an error.
  Exec("DELETE FROM KZ8TSetting");
  for (const char* change :
       {"UPDATE KZ8TProduct2 SET TPd2TotalQuantity=0",
        "UPDATE KZ8TProduct2 SET TPd2TotalQuantity=-5", "DELETE FROM KZ8TProduct2"}) {
    Exec(change);
    EXPECT_DOUBLE_EQ(PerUnit("P1"), 20) << change;
  }
  EXPECT_DOUBLE_EQ(PerUnit("NO-ROUTING"), 0);
  RoutingStep("P3", 1, Value::Null(), 8, 1);
  EXPECT_THROW(PerUnit("P3"), Error);
  RoutingStep("P4", 1, 1, Value::Null(), 1);
  EXPECT_THROW(PerUnit("P4"), Error);
}

TEST_P(CapacityTest, RoutingHoursStepSelectionOfCommittedRoutings) {
  RoutingStep("P1", 0, 1, 10, 0);
  RoutingStep("P1", 3, 5, 8, 0);
  EXPECT_DOUBLE_EQ(PerUnit("P1", 2, false), 0.4);  // step 2 alone
  EXPECT_DOUBLE_EQ(PerUnit("P1", 2, true), 3);     // steps 0 to 2
  EXPECT_DOUBLE_EQ(PerUnit("P1", 0, false), 7);    // every step
  EXPECT_DOUBLE_EQ(PerUnit("P1", -1, false), 7);
  EXPECT_DOUBLE_EQ(PerUnit("P1' OR '1'='1"), 0);
  // Only committed routings are read.
  data_->BeginTrans();
  data_->ExecuteSQL("UPDATE KZ8TProductMethod SET TSpdHourPerDay=100");
  EXPECT_DOUBLE_EQ(PerUnit("P1", 2, false), 0.4);
  data_->RollbackTrans();
}

KZ8_INSTANTIATE_DB_TEST(CapacityTest);

}  // namespace
}  // namespace kz8test
