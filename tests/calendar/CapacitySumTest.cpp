// Hours already reserved on the schedule, per section and day and over periods.
#include "Plant.h"

namespace kz8test {
namespace {

class CapacitySumTest : public PlantTest {
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
    ReserveWithoutHours("CUT", Jan(4, 15));
    // Elsewhere: another section, another day.
    Reserve({"ASM", Jan(4, 8), 5, "HD"});
    Reserve({"CUT", Jan(5, 8), 7, "MM", "J1", 1});
  }
};

TEST_P(CapacitySumTest, DaySumOfASectionWithEqualityJobFilters) {
  EXPECT_EQ(engine_.GETCapAsDate("CUT", Jan(4), "", 0, *data_), 6.5);
  EXPECT_EQ(engine_.GETCapAsDate("CUT", Jan(4, 16, 30), "", 0, *data_), 6.5);  // time ignored
  // With a job given, only that job's own bookings count (all its lines, or one).
  EXPECT_EQ(engine_.GETCapAsDate("CUT", Jan(4), "J1", 0, *data_), 5);
  EXPECT_EQ(engine_.GETCapAsDate("CUT", Jan(4), "J1", 2, *data_), 2);
  EXPECT_EQ(engine_.GETCapAsDate("CUT", Jan(4), "", 1, *data_), 3);
  EXPECT_EQ(engine_.GETCapAsDate("CUT", Jan(4), "J2", 0, *data_), 0);
  EXPECT_EQ(engine_.GETCapAsDate("ASM", Jan(4), "", 0, *data_), 5);
  EXPECT_EQ(engine_.GETCapAsDate("PNT", Jan(4), "", 0, *data_), 0);
}

TEST_P(CapacitySumTest, PeriodsCountOnlyReservationsWhollyInside) {
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

TEST_P(CapacitySumTest, SectionCodesAreValuesNeverSql) {
  Reserve({"O'NEIL", Jan(4, 8), 2});
  EXPECT_EQ(engine_.GETCapAsDate("O'NEIL", Jan(4), "", 0, *data_), 2);
  EXPECT_EQ(engine_.GETCapAsDate("CUT' OR '1'='1", Jan(4), "", 0, *data_), 0);
  EXPECT_EQ(engine_.GETCapPlaned("CUT' OR '1'='1", Jan(4), Jan(6), *data_), 0);
}

KZ8_INSTANTIATE_DB_TEST(CapacitySumTest);

}  // namespace
}  // namespace kz8test
