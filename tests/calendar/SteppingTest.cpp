// When a piece of work ends, laid forward from its start, and when it must
// start, laid back from its end.
#include "Plant.h"
#include "calendar/DayWalk.h"
#include "support/Errors.h"

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

// Work of `days` laid forward from `from` (GetEndDateTime3) or back from it
// (GetStartDateTime3), and the time it gives.
struct Walk {
  const char* why;
  bool forward;
  OleDate from;
  double days;
  const char* gives;
  Options o{};
};

class SteppingTest : public PlantTest {
 protected:
  void SetUp() override {
    PlantTest::SetUp();
    Section("CUT", 8);
    Holiday(Jan(9));  // the weekend
    Holiday(Jan(10));
  }
  std::string Run(const Walk& w) {
    Integer setup = w.o.setup_minutes;
    const auto method =
        w.forward ? &kz8mrp::MRPObject::GetEndDateTime3 : &kz8mrp::MRPObject::GetStartDateTime3;
    return (engine_.*method)(w.from, w.o.bound.value_or(w.from), w.days, w.o.section, *data_, app_,
                             client_, true, w.o.cut_holiday, true, setup, kz8mrp::KZ8HourTypeOffice,
                             w.o.skip_job, 0)
        .ToString();
  }
  void Expect(const std::vector<Walk>& walks) {
    for (const Walk& w : walks) EXPECT_EQ(Run(w), w.gives) << w.why;
  }
  void ExpectGivesUp(const Walk& w) {
    const auto e = ErrorFrom([&] { Run(w); });
    ASSERT_TRUE(e) << w.why << ": the walk did not give up";
    EXPECT_EQ(e->Number(), kz8mrp::errc::kOverflow);
    EXPECT_THAT(e->what(), HasSubstr(w.gives));
  }
};

// clang-format off
TEST_P(SteppingTest, WorkIsLaidForwardFrom0800AndBackFrom1700) {
  Expect({
      {"a day", true, Jan(4, 8), 1, "2027-01-04 16:00:00"},
      {"two days", true, Jan(4, 8), 2, "2027-01-05 16:00:00"},
      {"half a day", true, Jan(4, 8), 0.5, "2027-01-04 12:00:00"},
      {"10:30 loses two whole hours of Monday", true, Jan(4, 10, 30), 1, "2027-01-05 10:00:00"},
      {"07:00 starts at 08:00", true, Jan(4, 7), 1, "2027-01-04 16:00:00"},
      {"Friday's work runs over the weekend", true, Jan(8, 8), 2, "2027-01-11 16:00:00"},
      {"back a day", false, Jan(5, 15, 30), 1, "2027-01-04 15:00:00"},
      {"back from 16:59", false, Jan(5, 16, 59), 1, "2027-01-04 16:00:00"},
      {"ending at midnight leaves the day whole", false, Jan(5), 1, "2027-01-05 09:00:00", {.bound = Jan(6)}},
      {"ending after 17:00 leaves the day whole", false, Jan(5, 18, 30), 1, "2027-01-05 09:00:00"},
      {"back over the weekend", false, Jan(11, 17), 1.5, "2027-01-08 13:00:00"},
      {"setup is lost on every day", true, Jan(4, 8), 2, "2027-01-05 15:00:00", {.setup_minutes = 60}},
      {"setup is lost on every day back", false, Jan(5, 17), 2, "2027-01-04 10:00:00", {.setup_minutes = 60}},
      {"holidays are cut", true, Jan(8, 8), 3, "2027-01-12 16:00:00"},
      {"holidays not cut give their hours", true, Jan(8, 8), 3, "2027-01-11 16:00:00", {.cut_holiday = false}},
      {"holidays not cut, back", false, Jan(11, 17), 3, "2027-01-08 09:00:00", {.cut_holiday = false}},
      {"holidays cut, back", false, Jan(11, 17), 3, "2027-01-07 09:00:00"},
      {"nothing to place: the office day off the holidays", true, Jan(9, 10), 0, "2027-01-11 08:00:00"},
      {"nothing to place, back", false, Jan(10, 11), 0, "2027-01-08 17:00:00"},
      {"setup uses up the day", true, Jan(4, 6), 5, "2027-01-04 08:00:00", {.setup_minutes = 480}},
      {"the start itself is the earliest finish", true, Jan(4, 10), 0.25, "2027-01-04 10:00:00"},
      {"an earlier bound", true, Jan(4, 10), 0.25, "2027-01-04 10:00:00", {.bound = Jan(4, 9)}},
      {"a later earliest finish", true, Jan(4, 10), 0.25, "2027-01-04 12:00:00", {.bound = Jan(4, 12)}},
      {"an earlier latest start", false, Jan(5, 15, 30), 1, "2027-01-04 12:00:00", {.bound = Jan(4, 12)}},
      {"a later bound", false, Jan(5, 15, 30), 1, "2027-01-04 15:00:00", {.bound = Jan(6)}},
  });
}

TEST_P(SteppingTest, AWeekWithOtherReservationsAndAWeekend) {
  Reserve({"CUT", Jan(4, 8), 6, "WIP", "OTHER", 1});
  Reserve({"CUT", Jan(5, 8), 8, "MM"});
  Reserve({"CUT", Jan(6, 8), 2, "HD"});
  Reserve({"CUT", Jan(6, 8), 8, "FG", "OTHER", 1});      // never takes capacity
  Reserve({"CUT", Jan(7, 8), 8, "WIP", "OTHER", 2, 0});  // cancelled
  Reserve({"ASM", Jan(7, 8), 8});                        // another section
  Reserve({"", Jan(4, 8), 4});                           // no section
  Expect({
      {"Monday 2 less the hour before 09:15, Tuesday none, Wednesday 6, Thursday 8, Friday 1", true, Jan(4, 9, 15), 2, "2027-01-08 09:00:00"},
      {"back from Friday noon: Friday 3, Thursday 8, 5 of Wednesday's 6", false, Jan(8, 12), 2, "2027-01-06 12:00:00"},
      {"back from Tuesday 10:00 over the weekend: 1 + 8 + Friday's last 3", false, Jan(12, 10), 1.5, "2027-01-08 14:00:00"},
      {"with a job named only its bookings count: 2 on Monday, 6 on Tuesday", true, Jan(4, 8), 1, "2027-01-05 14:00:00", {.skip_job = "OTHER"}},
      {"without a section only bookings without one count", true, Jan(4, 8), 1, "2027-01-05 12:00:00", {.section = ""}},
      {"back without a section: Sunday the 3rd is no holiday here", false, Jan(4, 17), 1, "2027-01-03 13:00:00", {.section = ""}},
  });
}
// clang-format on

// Setup time above the office hours with a negative duration: hours to place,
// but never a free hour to place them in; negative office hours likewise. A
// walk behind more than a year of other jobs' full days goes on to its end.
TEST_P(SteppingTest, OnlyWalksThatCanNeverFinishGiveUp) {
  fixture_connection().BeginTrans();
  for (int d = 0; d < 400; ++d) Reserve({"CUT", Jan(4, 8).AddDays(d), 8, "WIP", "OTHER", 1});
  fixture_connection().CommitTrans();
  EXPECT_EQ(Run({"", true, Jan(4, 8), 1, ""}), Jan(4, 16).AddDays(400).ToString());
  Section("NEG", -4);
  ExpectGivesUp({"", true, Jan(4, 8), -1, "366 days in a row", {.setup_minutes = 600}});
  ExpectGivesUp({"", false, Jan(4, 17), -1, "366 days in a row", {.setup_minutes = 600}});
  ExpectGivesUp({"", true, Jan(4, 8), -1, "section 'NEG'", {.section = "NEG"}});
  ExpectGivesUp({"", false, Jan(4, 17), -2, "366 days in a row", {.section = "NEG"}});
  // Negative office hours with a positive duration leave nothing to place.
  Expect({{"", true, Jan(4, 8), 1, "2027-01-04 08:00:00", {.section = "NEG"}}});
  fixture_connection().BeginTrans();
  for (int d = 11; d < 11 + 400; ++d) Holiday(Jan(1).AddDays(d - 1));
  fixture_connection().CommitTrans();
  ExpectGivesUp({"a result inside endless holidays", true, Jan(11, 8), 0, "holiday calendar"});
}

KZ8_INSTANTIATE_DB_TEST(SteppingTest);

// The bound itself, without a database: only days the calendar gives nothing
// count towards it, and they must run on for a year; days full of reservations
// are a wait, not a dead end; a hundred years is the end of any walk.
TEST(DayWalk, GivesUpOnlyOnAYearWithoutOfficeHoursOrOnAHundredYears) {
  using kz8mrp::calendar::DayAccount;
  using kz8mrp::calendar::DayWalk;
  const DayAccount nothing_offered{};
  const DayAccount fully_reserved{OleDate(), 8, 8, 0};
  const auto idle_days = [](DayWalk& walk, int days) {
    for (int i = 0; i < days; ++i) walk.Examined({});
  };
  DayWalk waiting("section 'CUT'");
  for (int spell = 0; spell < 3; ++spell) {  // idle spells just short of the bound
    idle_days(waiting, DayWalk::kIdleDays - 1);
    if (spell == 0) waiting.Examined(fully_reserved);
    if (spell == 1) waiting.PassedOver(400);
    if (spell == 2) waiting.Examined({OleDate(), -8, -10, 2});  // a day that gave hours
  }
  idle_days(waiting, DayWalk::kIdleDays - 1);
  EXPECT_THROW(waiting.Examined(nothing_offered), Error);

  DayWalk busy("section 'CUT'");
  busy.PassedOver(DayWalk::kMaxDays - 2);
  busy.Examined(fully_reserved);
  busy.Examined(fully_reserved);
  EXPECT_THROW(busy.Examined(fully_reserved), Error);
}

}  // namespace
}  // namespace kz8test
