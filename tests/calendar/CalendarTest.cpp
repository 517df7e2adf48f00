// The plant's calendar: working hours, holidays, capacity already reserved,
// reservations booked by hand and from a job, and work laid forward and back.
#include <kz8mrp/Error.h>

#include "calendar/DayWalk.h"
#include "common/Text.h"
#include "host/Sql.h"
#include "support/Errors.h"
#include "support/TestDb.h"

#include <optional>
#include <string>
#include <vector>

namespace kz8test {
namespace {

using kz8mrp::Error;
using kz8mrp::Integer;
using kz8mrp::KZ8HourType;
using Lines = std::vector<std::string>;

using kz8mrp::OleDate;
using kz8mrp::db::Value;

// 2027-01-04 is a Monday; the fixture's clock stands at 09:00 that day.
OleDate Jan(int day, int hour = 0, int minute = 0) {
  return OleDate::FromParts(2027, 1, day, hour, minute);
}

struct Reservation {
  std::string section;
  OleDate start;
  double hours;
  std::string type = "WIP", job{};
  int line = 0, status = 1;
};

struct JobStep {
  int line, step_line;
  std::string step_name;
  double estimate_days;
  std::optional<OleDate> plan_start{}, plan_end{};
  double setup_minutes = 0;
};

// A row's columns run on, a few to a line.
// clang-format off
class PlantTest : public DbTest {
 protected:
  static Value Optional(const std::optional<OleDate>& d) { return d ? Value(*d) : Value::Null(); }
  void Section(const std::string& code, double office_hours) {
    Insert("KZ8TSection", {{"TSecCode", code}, {"TSecName", code}, {"TSecHOffice", office_hours}});
  }
  // A step name worked by a section.
  void StepName(const std::string& code, const std::string& section) {
    Insert("KZ8TMRPStepName", {{"TSepCode", code}, {"TSepName", code}, {"TSepTSecCode", section}});
  }
  void Holiday(OleDate day, Value year = 2027) {
    Insert("KZ8TEmpHoliday", {{"TEhdHolidayDate", day}, {"TEhdYear", std::move(year)}});
  }
  // A reservation as another workstation booked it (end = start + hours).
  void Reserve(const Reservation& r) {
    Insert("KZ8TMPS", {{"TMPSNo", "R" + std::to_string(++next_reservation_)}, {"TMPSTJStTJbMTJobNo", r.job},
                       {"TMPSTJStTJbMLn", r.line}, {"TMPSTSecCode", r.section}, {"TMPSStartDate", r.start},
                       {"TMPSEndDate", r.start.AddHours(r.hours)}, {"TMPSHour", r.hours}, {"TMPSReserveType", r.type},
                       {"TMPSDate", r.start.CalendarDay()}, {"TMPSStatus", r.status}});
  }
  void Job(const std::string& job_no, const std::string& branch = "HQ", std::optional<OleDate> date = Jan(2)) {
    Insert("KZ8TJob", {{"TJobNo", job_no}, {"TJobTBraCode", branch}, {"TJobDate", Optional(date)}});
  }
  // A job line; without a start (or source) date it gets no finished-goods booking.
  void JobLine(const std::string& job_no, int line, std::optional<OleDate> start = Jan(4),
               std::optional<OleDate> source = Jan(15)) {
    Insert("KZ8TJobMB", {{"TJbMTJobNo", job_no}, {"TJbMLn", line}, {"TJbMStartDate", Optional(start)},
                         {"TJbMSourceDate", Optional(source)}});
  }
  void Step(const std::string& job_no, const JobStep& s) {
    Insert("KZ8TJobMethod", {{"TJStTJbMTJobNo", job_no}, {"TJStTJbMLn", s.line}, {"TJStTSpdStep", s.step_line * 10},
                             {"TJStLevel", 1}, {"TJStLn", s.step_line}, {"TJStTSepCode", s.step_name},
                             {"TJStEstimateDay", s.estimate_days}, {"TJStSetupTime", s.setup_minutes},
                             {"TJstPlanStartDate", Optional(s.plan_start)}, {"TJstPlanEndDate", Optional(s.plan_end)}});
  }
  // clang-format on

  // The job's reservations in booking order, one readable line each:
  // "WIP CUT 01-04 08:00 +8 1/1" (month-day, hours, job line/step; " off" if cancelled).
  std::vector<std::string> Schedule(const std::string& job_no) {
    std::vector<std::string> lines;
    for (const auto& r : Query("SELECT TMPSReserveType,TMPSTSecCode,TMPSStartDate,TMPSHour,"
                               "TMPSTJStTJbMLn,TMPSTJStLn,TMPSStatus FROM KZ8TMPS WHERE "
                               "TMPSTJStTJbMTJobNo=" +
                               kz8mrp::sql::Text(job_no) + " ORDER BY TMPSNo")
                             .rows) {
      lines.push_back(r[0].AsText() + " " + r[1].AsText() + " " + r[2].AsText().substr(5, 11) +
                      " +" + kz8mrp::text::NumberText(r[3].AsNumber()) + " " + r[4].AsText() + "/" +
                      r[5].AsText() + (r[6].AsNumber() == 1 ? "" : " off"));
    }
    return lines;
  }
  int ReservationCount(const std::string& condition = "1=1") {
    return std::stoi(Scalar("SELECT COUNT(*) FROM KZ8TMPS WHERE " + condition));
  }

 private:
  int next_reservation_ = 0;
};

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
  const auto hours = [&](const char* section,
                         const std::vector<int>& types = {0, 1, 2, 3, 4, 5, 99}) {
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

// Every day a holiday: the candidates run out of the valid dates (n(n+1)/2 days away) after 2432
// tries from 1899-12-30, long before the 16-bit step counter could reach 32767 and overflow.
class EveryDayOff : public kz8mrp::MRPObject {
 public:
  bool isMRPHoliday(OleDate, const kz8mrp::String&, kz8mrp::DataObj&) override {
    ++asked;
    return true;
  }
  int asked = 0;
};

// The search step grows a day per try: iDate, then 1, 3, 6, 10 ... days away.
TEST_P(HoursAndHolidaysTest, NearestWorkingDateSkipsWithAGrowingStepWithinTheDateRange) {
  const OleDate monday = Jan(4);
  for (const int d : {0, 1, 3, -1, -3}) Holiday(monday.AddDays(d));
  const OleDate morning = monday.AddHours(9.5);
  EXPECT_EQ(Move(morning, true), monday.AddDays(6).AddHours(9.5));  // +2 was a working day
  EXPECT_EQ(Move(morning, false), monday.AddDays(-6).AddHours(9.5));
  // A working day is returned as given, time of day included.
  const OleDate wednesday = monday.AddDays(2).AddHours(13.25);
  for (const bool f : {true, false}) EXPECT_EQ(Move(wednesday, f).Serial(), wednesday.Serial());
  // A switched-off holiday is a working day: the search stops there.
  Holiday(monday.AddDays(6));
  Holiday(monday.AddDays(10), 0);
  EXPECT_EQ(Move(monday, true), monday.AddDays(10));

  const OleDate last = OleDate::FromParts(9999, 12, 25);
  for (const int d : {0, 1, 3, 6}) Holiday(last.AddDays(d));  // 6 is 9999-12-31
  EXPECT_EQ(ErrorNumberOf([&] { Move(last, true); }), kz8mrp::errc::kOverflow);
  EXPECT_EQ(Move(last, false), last.AddDays(-1));

  const OleDate first = OleDate::FromParts(100, 1, 7);
  for (const int d : {0, -1, -3, -6}) Holiday(first.AddDays(d));  // -6 is 0100-01-01
  EXPECT_EQ(ErrorNumberOf([&] { Move(first, false); }), kz8mrp::errc::kOverflow);
  EXPECT_EQ(Move(first, true), first.AddDays(1));

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

// A day's sum: with a job given, only that job's own bookings count (all its lines, or one); the
// time of day is ignored; section codes are values, never SQL. A period: the dates' times are
// dropped, so a period to Tuesday 23:00 still ends at midnight and Tuesday's maintenance lies
// outside it; a night shift that runs past the period's end is left out altogether. Holidays and
// maintenance are of every section alike, whatever section is named.
TEST_P(CapacityTest, DaysAndPeriodsOfASection) {
  Reserve({"O'NEIL", Jan(4, 8), 2});
  Reserve({"CUT", Jan(4, 23), 2, "HD"});
  const auto day = [&](const std::string& section, OleDate d, const std::string& job = "",
                       int line = 0) {
    return engine_.GETCapAsDate(section, d, job, line, *data_);
  };
  EXPECT_EQ(
      (std::vector<double>{day("CUT", Jan(4)), day("CUT", Jan(4, 16, 30)), day("CUT", Jan(4), "J1"),
                           day("CUT", Jan(4), "J1", 2), day("CUT", Jan(4), "", 1),
                           day("CUT", Jan(4), "J2"), day("ASM", Jan(4)), day("PNT", Jan(4)),
                           day("O'NEIL", Jan(4)), day("CUT' OR '1'='1", Jan(4)),
                           engine_.GETCapPlaned("CUT' OR '1'='1", Jan(4), Jan(6), *data_),
                           engine_.GETCapPlaned("CUT", Jan(4), Jan(5), *data_),
                           engine_.GETCapPlaned("CUT", Jan(4, 10), Jan(5, 23), *data_),
                           engine_.GETCapPlaned("CUT", Jan(4), Jan(6), *data_),
                           engine_.GETHoliday("CUT", Jan(4), Jan(5), *data_),
                           engine_.GETHoliday("ANY", Jan(4), Jan(6), *data_),
                           engine_.GETPMDay("", Jan(4), Jan(6), *data_),
                           engine_.GETPMDay("M-01", Jan(4), Jan(6), *data_),
                           engine_.GETPMDay("", Jan(11), Jan(12), *data_)}),
      (std::vector<double>{8.5, 8.5, 5, 2, 3, 0, 5, 0, 2, 0, 0, 6.5, 6.5, 15.5, 6, 8, 7.5, 7.5,
                           0}));
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
  // Step 2 alone, steps 0 to 2, every step (from step 0 or below), a code that is no SQL.
  EXPECT_THAT((std::vector{PerUnit("P1", 2, false), PerUnit("P1", 2, true), PerUnit("P1", 0, false),
                           PerUnit("P1", -1, false), PerUnit("P1' OR '1'='1")}),
              ::testing::Pointwise(::testing::DoubleEq(), {0.4, 3.0, 7.0, 7.0, 0.0}));
  // Only committed routings are read.
  data_->BeginTrans();
  data_->ExecuteSQL("UPDATE KZ8TProductMethod SET TSpdHourPerDay=100");
  EXPECT_DOUBLE_EQ(PerUnit("P1", 2, false), 0.4);
  data_->RollbackTrans();
}

KZ8_INSTANTIATE_DB_TEST(CapacityTest);

class ScheduleFromJobTest : public PlantTest {
 protected:
  void SetUp() override {
    PlantTest::SetUp();
    Section("CUT", 8);
    Section("ASM", 6);
    StepName("S-CUT", "CUT");
    StepName("S-ASM", "ASM");
    StepName("S-PNT", "PNT");  // Painting keeps no section row: 8 hours a day
    for (const int weekend : {9, 10}) Holiday(Jan(weekend));
    Setting("MRPHourPerDay", "10");
  }
  std::string Run(const std::string& job_no) {
    return InTransaction([&] { return engine_.CreateMPSFromJobTR(job_no, *data_, app_, client_); });
  }
  std::string Book(OleDate start, double hours, const std::string& type = "MM",
                   const std::string& section = "CUT") {
    return InTransaction([&] {
      return engine_.CreateMPSTR(start, hours, type, "BR9", Jan(2), *data_, app_, client_, section,
                                 "J1", 2, 20, 3, 1);
    });
  }
};

TEST_P(ScheduleFromJobTest, ABookingByHandWritesEveryColumnOfTheReservationAsGiven) {
  // Late-evening work for 4.5 hours runs past midnight and spans the break.
  const std::string no = Book(Jan(4, 23), 4.5);
  EXPECT_EQ(no.rfind("MPS-", 0), 0u) << no;
  const auto row = [&](const std::string& columns, const std::string& number) {
    return Values("SELECT " + columns + " FROM KZ8TMPS WHERE TMPSNo='" + number + "'");
  };
  // The workstation's branch, not the one passed; 1 January 2027 is a Friday:
  // week 2 began on Sunday the 3rd.
  EXPECT_EQ(row("TMPSTJStTJbMTJobNo, TMPSTJStTJbMLn, TMPSTJStTSpdStep, TMPSTJStLn, TMPSTJStLevel, "
                "TMPSTSecCode, TMPSTBraCode, TMPSStartDate, TMPSEndDate, TMPSHour, "
                "TMPSReserveType, TMPSYear, TMPSWeek, TMPSDate, TMPSStatus, TMPSFlag1, TMPSFlag3",
                no),
            "J1|2|20|3|1|CUT|HQ|2027-01-04 23:00:00|2027-01-05 04:30:00|4.5|MM|2027|2|"
            "2027-01-04 00:00:00|1|1|2027-01-04 09:00:00");
  // The break hour only above four hours; bad input is stored as given.
  const std::string four = Book(Jan(5, 8), 4), negative = Book(Jan(5, 8), -2, "", "");
  EXPECT_EQ(row("TMPSEndDate", four), "2027-01-05 12:00:00");
  EXPECT_EQ(row("TMPSEndDate, TMPSHour, TMPSReserveType, TMPSTSecCode", negative),
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
  EXPECT_EQ(Schedule("J1"),
            (Lines{"FG CUT 01-04 08:00 +20 1/1 off", "FG ASM 01-06 00:00 +15 1/2 off",
                   "FG CUT 01-08 00:00 +20 1/3 off", "WIP CUT 01-04 08:00 +8 1/1",
                   "WIP CUT 01-05 08:00 +8 1/1", "WIP ASM 01-06 08:00 +6 1/2",
                   "WIP ASM 01-07 08:00 +3 1/2", "WIP CUT 01-08 08:00 +8 1/3",
                   "WIP CUT 01-09 08:00 +8 1/3", "WIP CUT 01-04 08:00 +4 2/4",
                   "WIP PNT 01-05 08:00 +7 2/5"}));
  EXPECT_EQ(last, Scalar("SELECT MAX(TMPSNo) FROM KZ8TMPS WHERE TMPSTJStTJbMTJobNo='J1'"));
  // However new the plant, the server's statistics know the job's steps it joined.
  if (IsPostgres()) {
    EXPECT_EQ(
        Scalar("SELECT CASE WHEN reltuples >= 5 THEN 'known' END FROM pg_class WHERE relname = "
               "'kz8tjobmethod'"),
        "known");
  }
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
            (Lines{"WIP CUT 01-04 08:00 +4 1/1", "WIP CUT 01-04 08:00 +4 1/2",
                   "WIP CUT 01-05 08:00 +4 1/3", "WIP CUT 01-06 08:00 +8 1/4",
                   "WIP CUT 01-07 08:00 +4 1/4"}));
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

// Reservations go by the exact job number, cancelled ones too; a quote in it is a value.
TEST_P(ScheduleFromJobTest, RunningAgainReplacesEveryReservationOfThatJobOnly) {
  for (const char* job : {"O'NEIL", "O", "NEIL"}) {
    Job(job);
    JobLine(job, 1);
    Step(job, {1, 1, "S-CUT", 1.5, Jan(4), Jan(5)});
    Reserve({"CUT", Jan(20, 8), 3, "MM", job, 1});
  }
  Reserve({"CUT", Jan(20, 8), 3, "MM", "O'NEIL", 7, 0});
  const std::string first = Run("O'NEIL");
  const Lines schedule = Schedule("O'NEIL");
  EXPECT_NE(first, Run("O'NEIL"));
  EXPECT_EQ(Schedule("O'NEIL"), schedule);
  EXPECT_EQ(schedule, (Lines{"FG CUT 01-04 00:00 +10 1/1 off", "WIP CUT 01-04 08:00 +8 1/1",
                             "WIP CUT 01-05 08:00 +4 1/1"}));
  for (const char* job : {"O", "NEIL"}) EXPECT_EQ(Schedule(job), Lines{"MM CUT 01-20 08:00 +3 1/"});
  EXPECT_EQ(Run("O' OR '1'='1"), "");
  // A job without steps only loses its reservations; the bracket commits.
  Job("EMPTY");
  JobLine("EMPTY", 1);
  Reserve({"CUT", Jan(4, 8), 3, "WIP", "EMPTY", 1});
  EXPECT_EQ(engine_.CreateMPSFromJob("EMPTY", *data_, app_, client_), 0);
  EXPECT_EQ(ReservationCount("TMPSTJStTJbMTJobNo='EMPTY'"), 0);  // seen by another connection
  EXPECT_EQ(engine_.CreateMPSFromJob("O'NEIL", *data_, app_, client_), 1);
  EXPECT_EQ(ReservationCount(), 5);
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
    ExpectError([&, job = job] { Run(job); }, kz8mrp::errc::kInvalidUseOfNull, text);
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
  ExpectError([&] { Run("J1"); }, kz8mrp::errc::kOverflow, "section 'NEG' for job J1");
  data_->RollbackTrans();
}

KZ8_INSTANTIATE_DB_TEST(ScheduleFromJobTest);

struct Options {
  std::string section = "CUT", skip_job{};
  bool cut_holiday = true;
  Integer setup_minutes = 0;
  std::optional<OleDate> bound{};  // earliest finish / latest start; the given time if unset
};

// Work of `days` laid forward (GetEndDateTime3) or back from `from`, and the time it gives.
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
    for (const int weekend : {9, 10}) Holiday(Jan(weekend));
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
    ExpectError([&] { Run(w); }, kz8mrp::errc::kOverflow, w.gives);
  }
};

// clang-format off
TEST_P(SteppingTest, WorkIsLaidForwardFrom0800AndBackFrom1700) {
  Expect({
      {"a day", true, Jan(4, 8), 1, "2027-01-04 16:00:00"},
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

// Hours to place but never a free hour (setup above the office hours with a
// negative duration, negative office hours); a year of full days is a wait.
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

// Only a year of days the calendar gives nothing counts towards the bound;
// full days are a wait, not a dead end; a hundred years ends any walk.
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
  for (int day = 0; day < 2; ++day) busy.Examined(fully_reserved);  // the last two allowed
  EXPECT_THROW(busy.Examined(fully_reserved), Error);
}

}  // namespace
}  // namespace kz8test
