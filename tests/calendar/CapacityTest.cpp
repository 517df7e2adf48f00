// Hours already reserved on the schedule, per section and day and over periods,
// and the working hours one unit of a product takes along its routing.
#include "Plant.h"

namespace kz8test {
namespace {

using kz8mrp::Error;
using kz8mrp::db::Value;

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

TEST_P(CapacityTest, DaySumOfASectionWithEqualityJobFiltersAndQuotedCodes) {
  EXPECT_EQ(engine_.GETCapAsDate("CUT", Jan(4), "", 0, *data_), 6.5);
  EXPECT_EQ(engine_.GETCapAsDate("CUT", Jan(4, 16, 30), "", 0, *data_), 6.5);  // time ignored
  // With a job given, only that job's own bookings count (all its lines, or one).
  EXPECT_EQ(engine_.GETCapAsDate("CUT", Jan(4), "J1", 0, *data_), 5);
  EXPECT_EQ(engine_.GETCapAsDate("CUT", Jan(4), "J1", 2, *data_), 2);
  EXPECT_EQ(engine_.GETCapAsDate("CUT", Jan(4), "", 1, *data_), 3);
  EXPECT_EQ(engine_.GETCapAsDate("CUT", Jan(4), "J2", 0, *data_), 0);
  EXPECT_EQ(engine_.GETCapAsDate("ASM", Jan(4), "", 0, *data_), 5);
  EXPECT_EQ(engine_.GETCapAsDate("PNT", Jan(4), "", 0, *data_), 0);
  // Section codes are values, never SQL.
  Reserve({"O'NEIL", Jan(4, 8), 2});
  EXPECT_EQ(engine_.GETCapAsDate("O'NEIL", Jan(4), "", 0, *data_), 2);
  EXPECT_EQ(engine_.GETCapAsDate("CUT' OR '1'='1", Jan(4), "", 0, *data_), 0);
  EXPECT_EQ(engine_.GETCapPlaned("CUT' OR '1'='1", Jan(4), Jan(6), *data_), 0);
}

TEST_P(CapacityTest, PeriodsCountOnlyReservationsWhollyInside) {
  // Monday to Tuesday midnight holds all Monday's reservations.
  EXPECT_EQ(engine_.GETCapPlaned("CUT", Jan(4), Jan(5), *data_), 6.5);
  // The dates' times are dropped: the period still ends on Tuesday at midnight,
  // so Tuesday's maintenance lies outside it.
  EXPECT_EQ(engine_.GETCapPlaned("CUT", Jan(4, 10), Jan(5, 23), *data_), 6.5);
  EXPECT_EQ(engine_.GETCapPlaned("CUT", Jan(4), Jan(6), *data_), 13.5);
  // A night shift that runs past the period's end is left out altogether.
  Reserve({"CUT", Jan(4, 23), 2, "HD"});
  EXPECT_EQ(engine_.GETCapPlaned("CUT", Jan(4), Jan(5), *data_), 6.5);
  // Holidays and maintenance of every section alike, whatever section is named.
  EXPECT_EQ(engine_.GETHoliday("CUT", Jan(4), Jan(5), *data_), 6);
  EXPECT_EQ(engine_.GETHoliday("ANY", Jan(4), Jan(6), *data_), 8);
  EXPECT_EQ(engine_.GETPMDay("", Jan(4), Jan(6), *data_), 7.5);
  EXPECT_EQ(engine_.GETPMDay("M-01", Jan(4), Jan(6), *data_), 7.5);
  EXPECT_EQ(engine_.GETPMDay("", Jan(11), Jan(12), *data_), 0);
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
