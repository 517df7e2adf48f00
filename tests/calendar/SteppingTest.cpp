// When a piece of work ends, laid forward from its start, and when it must
// start, laid back from its end.
#include "Plant.h"
#include "calendar/DayWalk.h"

namespace kz8test {
namespace {

using kz8mrp::Error;
using kz8mrp::Integer;

struct Options {
  std::string section = "CUT";
  bool cut_holiday = true;
  Integer setup_minutes = 0;
  std::optional<OleDate> bound{};  // earliest finish / latest start; the given time if unset
  std::string skip_job{};
};

class SteppingTest : public PlantTest {
 protected:
  void SetUp() override {
    PlantTest::SetUp();
    Section("CUT", 8);
    Holiday(Jan(9));  // the weekend
    Holiday(Jan(10));
  }

  std::string End(OleDate start, double days, Options o = {}) {
    return engine_
        .GetEndDateTime3(start, o.bound.value_or(start), days, o.section, *data_, app_, client_,
                         true, o.cut_holiday, true, o.setup_minutes, kz8mrp::KZ8HourTypeOffice,
                         o.skip_job, 0)
        .ToString();
  }
  std::string Start(OleDate end, double days, Options o = {}) {
    return engine_
        .GetStartDateTime3(end, o.bound.value_or(end), days, o.section, *data_, app_, client_, true,
                           o.cut_holiday, true, o.setup_minutes, kz8mrp::KZ8HourTypeOffice,
                           o.skip_job, 0)
        .ToString();
  }
  template <class Call>
  void ExpectGivesUp(Call call, const std::string& why) {
    try {
      call();
      ADD_FAILURE() << "the walk did not give up";
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), kz8mrp::errc::kOverflow);
      EXPECT_NE(std::string(e.what()).find(why), std::string::npos) << e.what();
    }
  }
};

TEST_P(SteppingTest, ForwardWorkIsLaidFrom0800) {
  EXPECT_EQ(End(Jan(4, 8), 1), "2027-01-04 16:00:00");
  EXPECT_EQ(End(Jan(4, 8), 2), "2027-01-05 16:00:00");
  EXPECT_EQ(End(Jan(4, 8), 0.5), "2027-01-04 12:00:00");
  // Starting at 10:30 loses two whole hours of Monday.
  EXPECT_EQ(End(Jan(4, 10, 30), 1), "2027-01-05 10:00:00");
  EXPECT_EQ(End(Jan(4, 7), 1), "2027-01-04 16:00:00");
  // Friday's work runs on over the weekend holidays to Monday.
  EXPECT_EQ(End(Jan(8, 8), 2), "2027-01-11 16:00:00");
}

TEST_P(SteppingTest, BackwardWorkIsLaidBackFrom1700) {
  EXPECT_EQ(Start(Jan(5, 15, 30), 1), "2027-01-04 15:00:00");
  EXPECT_EQ(Start(Jan(5, 16, 59), 1), "2027-01-04 16:00:00");
  // Ending at midnight, or after 17:00, leaves the day whole.
  EXPECT_EQ(Start(Jan(5), 1, {.bound = Jan(6)}), "2027-01-05 09:00:00");
  EXPECT_EQ(Start(Jan(5, 18, 30), 1), "2027-01-05 09:00:00");
  EXPECT_EQ(Start(Jan(11, 17), 1.5), "2027-01-08 13:00:00");
}

TEST_P(SteppingTest, SetupTimeIsLostOnEveryDay) {
  Integer setup = 60;
  const OleDate start = Jan(4, 8);
  EXPECT_EQ(
      engine_
          .GetEndDateTime3(start, start, 2, "CUT", *data_, app_, client_, true, true, true, setup)
          .ToString(),
      "2027-01-05 15:00:00");
  EXPECT_EQ(setup, 60);  // read, never written back
  EXPECT_EQ(Start(Jan(5, 17), 2, {.setup_minutes = 60}), "2027-01-04 10:00:00");
}

TEST_P(SteppingTest, AWeekWithOtherJobsReservationsAndAWeekend) {
  Reserve({"CUT", Jan(4, 8), 6, "WIP", "OTHER", 1});
  Reserve({"CUT", Jan(5, 8), 8, "MM"});
  Reserve({"CUT", Jan(6, 8), 2, "HD"});
  Reserve({"CUT", Jan(6, 8), 8, "FG", "OTHER", 1});      // never takes capacity
  Reserve({"CUT", Jan(7, 8), 8, "WIP", "OTHER", 2, 0});  // cancelled
  Reserve({"ASM", Jan(7, 8), 8});                        // another section
  // Monday gives 2 hours less the one lost before 09:15, Tuesday none,
  // Wednesday 6, Thursday 8, and the last hour falls on Friday.
  EXPECT_EQ(End(Jan(4, 9, 15), 2), "2027-01-08 09:00:00");
  // Back from Friday noon: Friday 3, Thursday 8, and 5 of Wednesday's 6.
  EXPECT_EQ(Start(Jan(8, 12), 2), "2027-01-06 12:00:00");
  // Back from the next Tuesday 10:00 over the weekend: 1 + 8 + Friday's last 3.
  EXPECT_EQ(Start(Jan(12, 10), 1.5), "2027-01-08 14:00:00");
}

TEST_P(SteppingTest, HolidaysNotCutStillPushTheResultOffThem) {
  EXPECT_EQ(End(Jan(8, 8), 3), "2027-01-12 16:00:00");
  // Saturday and Sunday give their hours, but the end may not fall on them.
  EXPECT_EQ(End(Jan(8, 8), 3, {.cut_holiday = false}), "2027-01-11 16:00:00");
  EXPECT_EQ(Start(Jan(11, 17), 3, {.cut_holiday = false}), "2027-01-08 09:00:00");
  EXPECT_EQ(Start(Jan(11, 17), 3), "2027-01-07 09:00:00");
}

TEST_P(SteppingTest, NothingToPlaceGivesTheOfficeDayOffHolidays) {
  EXPECT_EQ(End(Jan(9, 10), 0), "2027-01-11 08:00:00");
  EXPECT_EQ(Start(Jan(10, 11), 0), "2027-01-08 17:00:00");
  // Hours per day used up by the setup time: nothing to place either.
  EXPECT_EQ(End(Jan(4, 6), 5, {.setup_minutes = 480}), "2027-01-04 08:00:00");
}

TEST_P(SteppingTest, EarliestFinishAndLatestStartBoundTheResult) {
  // Two hours from 10:00 end at 08:00 + 2 hours: the start itself is the bound.
  EXPECT_EQ(End(Jan(4, 10), 0.25), "2027-01-04 10:00:00");
  EXPECT_EQ(End(Jan(4, 10), 0.25, {.bound = Jan(4, 9)}), "2027-01-04 10:00:00");
  EXPECT_EQ(End(Jan(4, 10), 0.25, {.bound = Jan(4, 12)}), "2027-01-04 12:00:00");
  EXPECT_EQ(Start(Jan(5, 15, 30), 1, {.bound = Jan(4, 12)}), "2027-01-04 12:00:00");
  EXPECT_EQ(Start(Jan(5, 15, 30), 1, {.bound = Jan(6)}), "2027-01-04 15:00:00");
}

TEST_P(SteppingTest, OnlyTheGivenJobsBookingsCountWhenOneIsNamed) {
  Reserve({"CUT", Jan(4, 8), 3, "WIP", "J1", 1});
  Reserve({"CUT", Jan(4, 8), 5, "WIP", "J2", 1});
  EXPECT_EQ(End(Jan(4, 8), 1), "2027-01-05 16:00:00");
  EXPECT_EQ(End(Jan(4, 8), 1, {.skip_job = "J1"}), "2027-01-05 11:00:00");
}

TEST_P(SteppingTest, EntryPointsWithoutASectionCountOnlyReservationsWithoutOne) {
  Reserve({"", Jan(4, 8), 4});
  Reserve({"CUT", Jan(5, 8), 8});
  const OleDate start = Jan(4, 8);
  EXPECT_EQ(engine_.GetEndDateTime(start, 1, *data_, app_, client_).ToString(),
            "2027-01-05 12:00:00");
  // Sunday 3 January has no holiday row in this plant.
  EXPECT_EQ(engine_.GetStartDateTime(Jan(4, 17), 1, *data_, app_, client_).ToString(),
            "2027-01-03 13:00:00");
}

TEST_P(SteppingTest, WalksThatCanNeverFinishGiveUp) {
  Section("NEG", -4);
  // Setup time above the office hours with a negative duration: hours to place,
  // but never a free hour to place them in.
  ExpectGivesUp([&] { End(Jan(4, 8), -1, {.setup_minutes = 600}); }, "366 days in a row");
  ExpectGivesUp([&] { Start(Jan(4, 17), -1, {.setup_minutes = 600}); }, "366 days in a row");
  ExpectGivesUp([&] { End(Jan(4, 8), -1, {.section = "NEG"}); }, "section 'NEG'");
  ExpectGivesUp([&] { Start(Jan(4, 17), -2, {.section = "NEG"}); }, "366 days in a row");
  // Negative office hours with a positive duration leave nothing to place.
  EXPECT_EQ(End(Jan(4, 8), 1, {.section = "NEG"}), "2027-01-04 08:00:00");
}

TEST_P(SteppingTest, AResultInsideEndlessHolidaysGivesUp) {
  fixture_connection().BeginTrans();
  for (int d = 11; d < 11 + 400; ++d) Holiday(Jan(1).AddDays(d - 1));
  fixture_connection().CommitTrans();
  ExpectGivesUp([&] { End(Jan(11, 8), 0); }, "holiday calendar");
}

KZ8_INSTANTIATE_DB_TEST(SteppingTest);

// The bound itself, without a database.
TEST(DayWalk, IdleDaysMustRunInARowAndAllDaysCount) {
  using kz8mrp::calendar::DayWalk;
  DayWalk idle("section 'CUT'");
  for (int spell = 0; spell < 3; ++spell) {  // idle spells just short of the bound
    for (int i = 1; i < DayWalk::kIdleDays; ++i) idle.Next(false);
    idle.Next(true);
  }
  for (int i = 1; i < DayWalk::kIdleDays; ++i) idle.Next(false);
  EXPECT_THROW(idle.Next(false), Error);

  DayWalk busy("section 'CUT'");
  for (int i = 1; i < DayWalk::kMaxDays; ++i) busy.Next(true);
  EXPECT_THROW(busy.Next(true), Error);
}

}  // namespace
}  // namespace kz8test
