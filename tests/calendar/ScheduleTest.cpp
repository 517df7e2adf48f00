// The machine schedule: a reservation booked by hand, and those of a job booked
// from its routing steps; when a piece of work ends, laid forward from its
// start, and when it must start, laid back from its end.
#include "Plant.h"
#include "calendar/DayWalk.h"
#include "support/Errors.h"

namespace kz8test {
namespace {

using kz8mrp::Error;
using kz8mrp::Integer;
using Lines = std::vector<std::string>;

class ScheduleFromJobTest : public PlantTest {
 protected:
  void SetUp() override {
    PlantTest::SetUp();
    Section("CUT", 8);
    Section("ASM", 6);
    StepName("S-CUT", "CUT");
    StepName("S-ASM", "ASM");
    StepName("S-PNT", "PNT");  // Painting keeps no section row: 8 hours a day
    Holiday(Jan(9));
    Holiday(Jan(10));
    Setting("MRPHourPerDay", "10");
  }
  std::string Run(const std::string& job_no) {
    data_->BeginTrans();
    std::string last = engine_.CreateMPSFromJobTR(job_no, *data_, app_, client_);
    data_->CommitTrans();
    return last;
  }
  std::string Book(OleDate start, double hours, const std::string& type = "MM",
                   const std::string& section = "CUT") {
    data_->BeginTrans();
    std::string no = engine_.CreateMPSTR(start, hours, type, "BR9", Jan(2), *data_, app_, client_,
                                         section, "J1", 2, 20, 3, 1);
    data_->CommitTrans();
    return no;
  }
  // A job of one line with one step of `days` on Cutting, planned for Monday.
  void SimpleJob(const std::string& job_no, double days = 1) {
    Job(job_no);
    JobLine(job_no, 1);
    Step(job_no, {1, 1, "S-CUT", days, Jan(4), Jan(5)});
  }
};

TEST_P(ScheduleFromJobTest, ABookingByHandWritesEveryColumnOfTheReservationAsGiven) {
  // Late-evening work for 4.5 hours runs past midnight and spans the break.
  const std::string no = Book(Jan(4, 23), 4.5);
  EXPECT_EQ(no.rfind("MPS-", 0), 0u) << no;
  // The workstation's branch, not the one passed; 1 January 2027 is a Friday:
  // week 2 began on Sunday the 3rd.
  EXPECT_EQ(Values("SELECT TMPSTJStTJbMTJobNo, TMPSTJStTJbMLn, TMPSTJStTSpdStep, TMPSTJStLn, "
                   "TMPSTJStLevel, TMPSTSecCode, TMPSTBraCode, TMPSStartDate, TMPSEndDate, "
                   "TMPSHour, TMPSReserveType, TMPSYear, TMPSWeek, TMPSDate, TMPSStatus, "
                   "TMPSFlag1, TMPSFlag3 FROM KZ8TMPS WHERE TMPSNo='" +
                   no + "'"),
            "J1|2|20|3|1|CUT|HQ|2027-01-04 23:00:00|2027-01-05 04:30:00|4.5|MM|2027|2|"
            "2027-01-04 00:00:00|1|1|2027-01-04 09:00:00");
  // The break hour only above four hours; bad input is stored as given.
  const std::string four = Book(Jan(5, 8), 4);
  EXPECT_EQ(Scalar("SELECT TMPSEndDate FROM KZ8TMPS WHERE TMPSNo='" + four + "'"),
            "2027-01-05 12:00:00");
  const std::string negative = Book(Jan(5, 8), -2, "", "");
  EXPECT_EQ(Values("SELECT TMPSEndDate, TMPSHour, TMPSReserveType, TMPSTSecCode FROM KZ8TMPS "
                   "WHERE TMPSNo='" +
                   negative + "'"),
            "2027-01-05 06:00:00|-2||");
  EXPECT_NE(four, negative);
}

TEST_P(ScheduleFromJobTest, AWeekOfTwoLines) {
  Reserve({"CUT", Jan(4, 8), 8, "WIP", "K", 1});  // another job's full Monday delays nothing
  Job("J1", "BR2");
  JobLine("J1", 1);
  JobLine("J1", 2, std::nullopt);  // no start date: no finished-goods booking
  Step("J1", {1, 1, "S-CUT", 2, Jan(4, 8), Jan(6, 8)});
  Step("J1", {1, 2, "S-ASM", 1.5, Jan(6), Jan(7, 12)});
  Step("J1", {1, 3, "S-CUT", 2, Jan(8), Jan(10)});  // holidays are not consulted
  Step("J1", {2, 4, "S-CUT", 0.5, Jan(4), Jan(4, 12)});
  Step("J1", {2, 5, "S-PNT", 1, Jan(5), Jan(6), 180});  // three hours of setup, once

  const std::string last = Run("J1");
  EXPECT_EQ(Schedule("J1"), (Lines{
                                "FG CUT 2027-01-04 08:00 +20 line 1/1 cancelled",
                                "FG ASM 2027-01-06 00:00 +15 line 1/2 cancelled",
                                "FG CUT 2027-01-08 00:00 +20 line 1/3 cancelled",
                                "WIP CUT 2027-01-04 08:00 +8 line 1/1 active",
                                "WIP CUT 2027-01-05 08:00 +8 line 1/1 active",
                                "WIP ASM 2027-01-06 08:00 +6 line 1/2 active",
                                "WIP ASM 2027-01-07 08:00 +3 line 1/2 active",
                                "WIP CUT 2027-01-08 08:00 +8 line 1/3 active",
                                "WIP CUT 2027-01-09 08:00 +8 line 1/3 active",
                                "WIP CUT 2027-01-04 08:00 +4 line 2/4 active",
                                "WIP PNT 2027-01-05 08:00 +7 line 2/5 active",
                            }));
  EXPECT_EQ(last, Scalar("SELECT MAX(TMPSNo) FROM KZ8TMPS WHERE TMPSTJStTJbMTJobNo='J1'"));
  EXPECT_EQ(ReservationCount("TMPSTJStTJbMTJobNo='K'"), 1);
  EXPECT_EQ(ReservationCount("TMPSTJStTJbMTJobNo='J1' AND TMPSTBraCode='HQ' AND "
                             "TMPSTJStTSpdStep=TMPSTJStLn*10 AND TMPSTJStLevel=1"),
            11);
}

TEST_P(ScheduleFromJobTest, StepsOfALineShareItsSectionDay) {
  Job("J1");
  JobLine("J1", 1);
  for (int s = 1; s <= 3; ++s) Step("J1", {1, s, "S-CUT", 0.5, Jan(4, 13), Jan(4, 17)});
  Step("J1", {1, 4, "S-CUT", 1.5, Jan(6), Jan(7, 12)});
  Run("J1");
  const Lines schedule = Schedule("J1");
  EXPECT_EQ(Lines(schedule.begin() + 4, schedule.end()),
            (Lines{
                "WIP CUT 2027-01-04 08:00 +4 line 1/1 active",
                "WIP CUT 2027-01-04 08:00 +4 line 1/2 active",
                "WIP CUT 2027-01-05 08:00 +4 line 1/3 active",
                "WIP CUT 2027-01-06 08:00 +8 line 1/4 active",
                "WIP CUT 2027-01-07 08:00 +4 line 1/4 active",
            }));
}

// Every step waits behind the line's earlier ones, for more than a year: the
// walk goes on, and no day holds more than the section's hours.
TEST_P(ScheduleFromJobTest, ALineQueuedForOverAYearIsBookedToItsEnd) {
  Job("J1");
  JobLine("J1", 1);
  fixture_connection().BeginTrans();
  for (int s = 1; s <= 250; ++s) Step("J1", {1, s, "S-CUT", 1.5, Jan(4), Jan(5)});
  fixture_connection().CommitTrans();
  Run("J1");
  const std::string wip = " FROM KZ8TMPS WHERE TMPSReserveType='WIP' AND TMPSStatus=1";
  EXPECT_EQ(Scalar("SELECT COUNT(*) || '/' || CAST(SUM(TMPSHour) AS INTEGER)" + wip), "500/3000");
  EXPECT_EQ(Scalar("SELECT MAX(h) FROM (SELECT SUM(TMPSHour) AS h" + wip + " GROUP BY TMPSDate) t"),
            "8");
  EXPECT_EQ(OleDate::Parse(Scalar("SELECT MAX(TMPSDate) || ''" + wip)), Jan(4).AddDays(374));
}

TEST_P(ScheduleFromJobTest, RunningAgainReplacesEveryReservationOfTheJob) {
  SimpleJob("J1", 1.5);
  Reserve({"CUT", Jan(20, 8), 3, "MM", "J1", 7, 0});
  const std::string first = Run("J1");
  const Lines schedule = Schedule("J1");
  EXPECT_NE(first, Run("J1"));
  EXPECT_EQ(Schedule("J1"), schedule);
  EXPECT_EQ(schedule, (Lines{"FG CUT 2027-01-04 00:00 +10 line 1/1 cancelled",
                             "WIP CUT 2027-01-04 08:00 +8 line 1/1 active",
                             "WIP CUT 2027-01-05 08:00 +4 line 1/1 active"}));
  // A job without steps only loses its reservations; the bracket commits.
  Job("EMPTY");
  JobLine("EMPTY", 1);
  Reserve({"CUT", Jan(4, 8), 3, "WIP", "EMPTY", 1});
  EXPECT_EQ(engine_.CreateMPSFromJob("EMPTY", *data_, app_, client_), 0);
  EXPECT_EQ(ReservationCount("TMPSTJStTJbMTJobNo='EMPTY'"), 0);  // seen by another connection
  EXPECT_EQ(engine_.CreateMPSFromJob("J1", *data_, app_, client_), 1);
  EXPECT_EQ(ReservationCount(), 3);
}

TEST_P(ScheduleFromJobTest, AQuoteInTheJobNumberTouchesOnlyThatJob) {
  for (const char* job : {"O'NEIL", "O", "NEIL"}) {
    SimpleJob(job);
    Reserve({"CUT", Jan(20, 8), 3, "MM", job, 1});
  }
  Run("O'NEIL");
  EXPECT_EQ(Schedule("O'NEIL"), (Lines{"FG CUT 2027-01-04 00:00 +10 line 1/1 cancelled",
                                       "WIP CUT 2027-01-04 08:00 +8 line 1/1 active"}));
  EXPECT_EQ(Schedule("O"), (Lines{"MM CUT 2027-01-20 08:00 +3 line 1/ active"}));
  EXPECT_EQ(Schedule("NEIL"), (Lines{"MM CUT 2027-01-20 08:00 +3 line 1/ active"}));
  EXPECT_EQ(Run("O' OR '1'='1"), "");
  EXPECT_EQ(ReservationCount(), 4);
}

// No start; no end, so no duration for the finished-goods booking; nothing to
// lay out and no finished-goods pass, but no day to lay it from.
TEST_P(ScheduleFromJobTest, MissingPlanDatesFailInEitherPass) {
  const std::tuple<const char*, bool, JobStep, const char*> cases[] = {
      {"J1", true, {1, 1, "S-CUT", 1, std::nullopt, Jan(5)}, "TJstPlanStartDate of job J1 line 1"},
      {"J2", true, {1, 1, "S-CUT", 1, Jan(4), std::nullopt}, ""},
      {"J3", false, {1, 1, "S-CUT", 0, std::nullopt, Jan(5)}, ""}};
  for (const auto& [job, finished_goods, step, text] : cases) {
    Job(job);
    JobLine(job, 1, finished_goods ? std::optional(Jan(4)) : std::nullopt);
    Step(job, step);
    const auto e = ErrorFrom([&, job = job] { Run(job); });
    ASSERT_TRUE(e) << job << ": no error";
    EXPECT_THAT(e->Text(), HasSubstr(text));
    if (*text) {
      EXPECT_EQ(e->Number(), kz8mrp::errc::kInvalidUseOfNull);
    }
    data_->RollbackTrans();
  }
}

TEST_P(ScheduleFromJobTest, NegativeOfficeHoursGiveUpInsteadOfSteppingForEver) {
  Section("NEG", -8);
  StepName("S-NEG", "NEG");
  Job("J1");
  JobLine("J1", 1, std::nullopt);
  Step("J1", {1, 1, "S-NEG", 1, Jan(4), Jan(5)});  // -8 hours to lay: nothing booked
  EXPECT_EQ(Run("J1"), "");
  Step("J1", {1, 2, "S-NEG", -1, Jan(4), Jan(5)});  // 8 hours, but never a free one
  const auto endless = ErrorFrom([&] { Run("J1"); });
  ASSERT_TRUE(endless) << "no error";
  EXPECT_EQ(endless->Number(), kz8mrp::errc::kOverflow);
  EXPECT_THAT(endless->Text(), HasSubstr("section 'NEG' for job J1"));
  data_->RollbackTrans();
}

KZ8_INSTANTIATE_DB_TEST(ScheduleFromJobTest);

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
