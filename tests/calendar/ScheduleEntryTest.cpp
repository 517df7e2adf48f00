// Booking section time on the machine schedule.
#include "Plant.h"

namespace kz8test {
namespace {

class ScheduleEntryTest : public PlantTest {
 protected:
  std::string Book(OleDate start, double hours, const std::string& type = "MM",
                   const std::string& section = "CUT") {
    data_->BeginTrans();
    std::string no = engine_.CreateMPSTR(start, hours, type, "BR9", Jan(2), *data_, app_, client_,
                                         section, "J1", 2, 20, 3, 1);
    data_->CommitTrans();
    return no;
  }
  std::string Column(const std::string& no, const std::string& column) {
    return Scalar("SELECT " + column + " FROM KZ8TMPS WHERE TMPSNo='" + no + "'");
  }
};

TEST_P(ScheduleEntryTest, WritesEveryColumnOfTheReservation) {
  // Late-evening work for 4.5 hours runs past midnight and spans the break.
  const std::string no = Book(Jan(4, 23), 4.5);
  EXPECT_EQ(no.rfind("MPS-", 0), 0u) << no;
  const std::pair<const char*, const char*> expected[] = {
      {"TMPSTJStTJbMTJobNo", "J1"},
      {"TMPSTJStTJbMLn", "2"},
      {"TMPSTJStTSpdStep", "20"},
      {"TMPSTJStLn", "3"},
      {"TMPSTJStLevel", "1"},
      {"TMPSTSecCode", "CUT"},
      {"TMPSTBraCode", "HQ"},  // the workstation's branch, not the one passed
      {"TMPSStartDate", "2027-01-04 23:00:00"},
      {"TMPSEndDate", "2027-01-05 04:30:00"},
      {"TMPSHour", "4.5"},
      {"TMPSReserveType", "MM"},
      {"TMPSYear", "2027"},
      {"TMPSWeek", "2"},  // 1 January 2027 is a Friday: week 2 began on Sunday the 3rd
      {"TMPSDate", "2027-01-04 00:00:00"},
      {"TMPSStatus", "1"},
      {"TMPSFlag1", "1"},
      {"TMPSFlag3", "2027-01-04 09:00:00"},
  };
  for (const auto& [column, value] : expected) EXPECT_EQ(Column(no, column), value) << column;
}

TEST_P(ScheduleEntryTest, BreakHourOnlyAboveFourHoursAndBadInputStoredAsGiven) {
  const std::string four = Book(Jan(5, 8), 4);
  EXPECT_EQ(Column(four, "TMPSEndDate"), "2027-01-05 12:00:00");
  const std::string negative = Book(Jan(5, 8), -2, "", "");
  EXPECT_EQ(Column(negative, "TMPSEndDate"), "2027-01-05 06:00:00");
  EXPECT_EQ(Column(negative, "TMPSHour"), "-2");
  EXPECT_EQ(Column(negative, "TMPSReserveType"), "");
  EXPECT_EQ(Column(negative, "TMPSTSecCode"), "");
  EXPECT_NE(four, negative);
}

KZ8_INSTANTIATE_DB_TEST(ScheduleEntryTest);

}  // namespace
}  // namespace kz8test
