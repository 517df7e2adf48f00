// End-to-end runs of the built kz8mrp program, on either database kind.
#include "common/Text.h"
#include "support/Process.h"
#include "support/TestDb.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace kz8test {
namespace {

namespace fs = std::filesystem;

// What a terminal shows in each cell of a line: a letter with its marks of
// zero width, a blank, or the right half of a wide letter ("").
std::vector<std::string> ScreenCells(const std::string& line) {
  std::vector<std::string> cells;
  for (std::size_t i = 0, len = 1; i < line.size(); i += len) {
    const auto b = static_cast<unsigned char>(line[i]);
    len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    const std::string ch = line.substr(i, len);
    const std::size_t w = kz8mrp::text::DisplayWidth(ch);
    if (w == 0 && !cells.empty()) cells.back() += ch;
    if (w != 0 || cells.empty()) cells.push_back(ch);
    if (w == 2) cells.emplace_back();
  }
  return cells;
}

class CliTest : public DbTest {
 protected:
  // `kz8mrp COMMAND --db DB WORDS...`
  Outcome Run(const std::string& command, std::vector<std::string> words,
              const std::string& db = "") {
    words.insert(words.begin(), {command, "--db", db.empty() ? connection_string_ : db});
    return RunKz8mrp(words);
  }
  Outcome Call(const std::vector<std::string>& words, const std::string& db = "") {
    return Run("call", words, db);
  }
};

#define EXPECT_OUTPUT(outcome, text)   \
  do {                                 \
    const Outcome o_ = (outcome);      \
    EXPECT_EQ(o_.status, 0) << o_.err; \
    EXPECT_EQ(o_.out, text);           \
  } while (0)
// The run ends with that status, says why, and prints nothing.
#define EXPECT_REFUSED(outcome, code, why) \
  do {                                     \
    const Outcome o_ = (outcome);          \
    EXPECT_EQ(o_.status, code) << o_.err;  \
    EXPECT_THAT(o_.err, HasSubstr(why));   \
    EXPECT_EQ(o_.out, "") << (why);        \
  } while (0)

// init on a database that has the schema keeps its rows; the demo plant can be loaded again;
// settings are written, rewritten and read back; calls read their typed arguments.
TEST_P(CliTest, InitSettingAndCallWorkOnTheDatabase) {
  Insert("KZ8TSection", {{"TSecCode", "KEPT"}, {"TSecHOffice", 6.5}});
  EXPECT_OUTPUT(Run("init", {}), "");
  EXPECT_OUTPUT(Run("setting", {"MRPHourPerDayWithOT1"}), "\n");
  EXPECT_OUTPUT(Run("setting", {"MRPHourPerDayWithOT1", "10.5"}), "");
  EXPECT_OUTPUT(Run("setting", {"MRPDEFAULTPRODUCTIONBOOK", "ฝ่าย 'A'; --"}), "");
  EXPECT_OUTPUT(Call({"GETHourPerDay", "HourType=KZ8HourTypeOffice", "SecCode=KEPT"}), "6.5\n");
  EXPECT_OUTPUT(Call({"GETHourPerDay", "HourType=KZ8HourTypeWithOT1", "SecCode=KEPT"}), "10.5\n");
  EXPECT_OUTPUT(Run("init", {"--demo"}), "");
  EXPECT_REFUSED(Run("setting", {"MRPHourPerDay", "abc"}), 2,
                 "MRPHourPerDay takes a number of hours");
  EXPECT_OUTPUT(Run("setting", {"MRPDEFAULTPRODUCTIONBOOK"}), "ฝ่าย 'A'; --\n");
  EXPECT_OUTPUT(Run("setting", {"MRPHourPerDay"}), "8\n");  // the demo plant brings its own hours
  EXPECT_OUTPUT(Call({"GETHourPerDay", "HourType=1", "SecCode=CUT"}), "10\n");
  EXPECT_EQ(Run("setting", {}).status, 2);
  // Names in any letter case; options before or after the method's arguments.
  EXPECT_OUTPUT(Call({"gethourperday", "hourtype=kz8hourtypewithot1", "SECCODE=ASM"}), "11\n");
  EXPECT_OUTPUT(
      Call({"MoveToOfficeHourDate", "iDate=2027-01-01 09:30:15", "MoveNext=0", "BranchCode=HQ"}),
      "2026-12-31 09:30:15\n");
  EXPECT_OUTPUT(
      Call({"--json", "--now", "2027-01-04 08:00:00", "--user", "somchai", "--english",
            "MoveToOfficeHourDate", "iDate=2027-01-09", "MoveNext=false", "BranchCode=HQ"}),
      "{\"result\":\"2027-01-08 00:00:00\",\"byref\":{}}\n");
  EXPECT_OUTPUT(Call({"isMRPHoliday", "iDate=2027-01-02", "BranchCode=HQ", "--json"}),
                "{\"result\":true,\"byref\":{}}\n");
}

TEST_P(CliTest, UsageErrorsExitWithTwoAndSuggestTheNearestName) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"GetEndDateTim"}, "unknown method: GetEndDateTim (did you mean GetEndDateTime?)"},
      {{"GETHourPerDay", "HourTyp=1", "SecCode=CUT"},
       "no parameter HourTyp (did you mean HourType?)"},
      {{"GETHourPerDay", "HourType=1", "DataObj=x"}, "has no parameter DataObj"},
      {{"GETHourPerDay", "HourType=eight", "SecCode=CUT"}, "parameter HourType"},
      {{"GETHourPerDay", "SecCode=CUT"}, "needs HourType"},
      {{"GETHourPerDay", "HourType=1", "HourType=2", "SecCode=CUT"}, "given twice"},
      {{"--now", "2027-13-01", "GETProductionTime", "ProductCode=P", "StartDate=2027-01-04"},
       "--now"},
      {{"--shift", "GETProductionTime"}, "--shift"},
      {{"--pick", "0", "GETProductionTime", "ProductCode=P", "StartDate=2027-01-04"}, "--pick"},
      {{"isMRPHoliday", "2027-01-04"}, "NAME=VALUE"},
      {{}, "METHOD"},
  };
  for (const auto& [args, message] : cases) EXPECT_REFUSED(Call(args), 2, message);
  EXPECT_REFUSED(RunKz8mrp({"calll"}), 2, "unknown command: calll (did you mean call?)");
  EXPECT_EQ(RunKz8mrp({}).status, 2);
  EXPECT_EQ(
      RunKz8mrp({"call", "GETProductionTime", "ProductCode=P", "StartDate=2027-01-04"}).status, 2);
}

// Failures are shown on a plant whose tables are missing but for its settings,
// where every method that reads one fails, whichever of them are built; on a
// mistyped path; and on a plant the user may not write.
TEST_P(CliTest, FailedCallsExitWithOneAndTheErrorNumber) {
  if (IsPostgres()) GTEST_SKIP() << "a file of no tables and a mistyped path are SQLite's";
  const std::string bare = connection_string_ + ".bare";  // beside the fixture's file
  kz8mrp::db::Connection::Open(bare, kz8mrp::db::OpenMode::Create)
      ->Execute("CREATE TABLE KZ8TSetting (TSetKey TEXT PRIMARY KEY, TSetValue TEXT)");
  // A database error comes with the database's own number and text, on standard output too with
  // --json. A TR method runs in a transaction of the call's own and is rolled back.
  for (const std::vector<std::string>& words :
       {std::vector<std::string>{"isMRPHoliday", "iDate=2027-01-01", "BranchCode="},
        {"--json", "GetEndDateTime", "StartDateTime=2027-01-04 08:00", "Hours=2"},
        {"CreateJOBfromSO2TR", "SONo=SO1", "iJobNo=", "iBook=", "iType=0"}}) {
    const Outcome o = Call(words, "sqlite:" + bare);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err.rfind("error 1: no such table: KZ8T", 0), 0u) << o.err;
    const std::string error = o.err.substr(9, o.err.find('\n') - 9);
    EXPECT_EQ(o.out, words[0] == "--json"
                         ? "{\"error\":{\"number\":1,\"text\":\"" + error + "\"}}\n"
                         : "");
  }
  // Nothing was left open: the next writer gets the database.
  EXPECT_OUTPUT(Run("init", {}, bare), "");

  // A mistyped path is an error, not a new empty plant; methods that do
  // nothing never open the database.
  const std::string typo = connection_string_ + ".typo";
  EXPECT_REFUSED(Call({"isMRPHoliday", "iDate=2027-01-01", "BranchCode="}, typo), 1,
                 "no database at " + typo);
  EXPECT_REFUSED(Run("setting", {"MRPHourPerDay"}, typo), 1, "no database at " + typo);
  EXPECT_OUTPUT(Call({"--pick", "none", "GETProductionTime", "ProductCode=P",
                      "StartDate=2027-01-04", "Unit2Volume=5"},
                     typo),
                "0\n");
  EXPECT_FALSE(fs::exists(typo));

  // A plant its user may not write answers questions, and says why it refuses a change.
  const fs::path folder = connection_string_ + ".read-only";
  const std::string plant = (folder / "plant.db").string();
  fs::create_directory(folder);
  ASSERT_EQ(Run("init", {"--demo"}, plant).status, 0);
  const auto read_only = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  fs::permissions(plant, read_only);
  fs::permissions(
      folder, read_only | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec);
  const Outcome read = RunKz8mrpUnprivileged(
      {"call", "--db", plant, "isMRPHoliday", "iDate=2027-01-01", "BranchCode="});
  const Outcome write = RunKz8mrpUnprivileged({"call", "--db", plant, "CreateJOBfromSO2TR",
                                               "SONo=SO2612-0007", "iJobNo=", "iBook=", "iType=0"});
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_EQ(read.out, "True\n") << read.err;
  EXPECT_REFUSED(write, 1,
                 "plant.db is open for reading only (this user cannot write its file or folder): "
                 "nothing can be changed in it");
  EXPECT_FALSE(fs::exists(plant + "-wal") || fs::exists(plant + "-shm"));
}

// An empty file, another program's database, or a database whose plant tables
// are gone is refused with the way to make a plant, and left as it was.
TEST_P(CliTest, ADatabaseWithoutAPlantIsRefusedAndLeftAsItWas) {
  const auto refused = [&](const std::string& db) {
    EXPECT_REFUSED(Run("setting", {"MRPHourPerDay", "8"}, db), 1,
                   "holds no plant (kz8mrp init --db ");
  };
  if (!IsPostgres()) {
    const std::string empty = connection_string_ + ".empty";
    const std::string other = connection_string_ + ".other";
    std::ofstream(empty).flush();
    kz8mrp::db::Connection::Open(other, kz8mrp::db::OpenMode::Create)
        ->Execute("CREATE TABLE Other (a TEXT)");
    for (const std::string& file : {empty, other}) {
      const std::string before = FileText(file);
      refused(file);
      EXPECT_EQ(FileText(file), before) << file;
      EXPECT_FALSE(fs::exists(file + "-wal") || fs::exists(file + "-shm")) << file;
    }
  }
  Exec("DROP TABLE KZ8TSetting");
  refused(connection_string_);
}

// A change that waits too long behind another planner's transaction is told
// why, without the statement that waited.
TEST_P(CliTest, AChangeBehindAnotherPlannersWorkIsToldToTryAgain) {
  Setting("MRPHourPerDay", "8");
  fixture_connection().BeginTrans();
  Exec("UPDATE KZ8TSetting SET TSetValue='7' WHERE TSetKey='MRPHourPerDay'");
  const std::string impatient = IsPostgres() ? connection_string_ + " options='-c lock_timeout=200'"
                                             : connection_string_ + "?wait=0.2";
  const Outcome o = Run("setting", {"MRPHourPerDay", "9"}, impatient);
  fixture_connection().RollbackTrans();
  EXPECT_REFUSED(o, 1, ": another planner's work holds the plant; try again when it is done\n");
  EXPECT_THAT(o.err, Not(HasSubstr("in: ")));
  if (!IsPostgres()) {
    const Outcome bad = Run("setting", {"X"}, connection_string_ + "?wait=soon");
    EXPECT_THAT(bad.err, HasSubstr("?wait=SECONDS"));
  }
}

TEST_P(CliTest, MethodsAndHelpDescribeTheInterface) {
  const std::pair<std::vector<std::string>, std::vector<std::string>> helps[] = {
      {{"methods"},
       {"0x60030000 GETProductionTime(ProductCode As String, StartDate As Date, Optional "
        "Unit1Volume As Double = 0, Optional Unit3Volume As Double = 0, Optional Unit2Volume "
        "As Double = 0) As Double\n",
        "\n0x60030029 GenerateMRP(DataObj As DataObj, ProductCode As String, FromDate As Date, "
        "ByRef ToDate As Date) As Integer\n"}},
      {{"methods", "--json"},
       {"{\"index\":57,\"dispid\":\"0x60030039\",\"name\":\"SelectJob\"",
        "{\"name\":\"SplitChar\",\"type\":\"String\",\"byref\":true,\"optional\":true,"
        "\"default\":\"#\"}"}},
      {{"help", "getenddatetime3"},
       {"GetEndDateTime3 StartDateTime=... EairyFinish=...", "caller's transaction: no.",
        "  SetupTime      Integer      0           by reference", "KZ8HourTypeWithOT1=1"}},
      {{"call", "CreateMPSTR", "--help"}, {"caller's transaction: yes.", "[TJobNo=...]", "\"\""}},
      {{"help", "CreateMPS"}, {"It opens and closes its own around\nCreateMPSTR"}},
      {{"help"}, {"Usage: kz8mrp", "schedule"}},
  };
  for (const auto& [words, parts] : helps) {
    const Outcome o = RunKz8mrp(words);
    EXPECT_EQ(o.status, 0) << words.back();
    for (const std::string& part : parts) EXPECT_THAT(o.out, HasSubstr(part));
  }
  for (const char* command : {"init", "call", "setting", "methods", "help", "schedule", "demo"}) {
    const Outcome o = RunKz8mrp({command, "--help"});
    EXPECT_EQ(o.status, 0) << command;
    EXPECT_THAT(o.out, HasSubstr("Usage: "));
  }
  EXPECT_EQ(RunKz8mrp({"help", "GetEndDateTim"}).status, 2);
}

// Three open jobs, with Thai and over-long cells, to pick one from: --pick
// answers without a terminal, where no one is asked and none is picked; on a
// terminal they are a table and a bad answer is asked again.
TEST_P(CliTest, PickingAJobWithOrWithoutATerminal) {
  InsertRows(
      "KZ8TJob",
      {"TJobNo", "TJobDate", "TJobCode", "TJobTPrjCode", "TJobApproveStatus", "TJobCancelStatus"},
      {{"J1", "2027-01-02", "งานเก้าอี้ไม้สัก", "P1", 1, 0},
       {"J2", "2027-01-03", "a job code far too long for one column of a terminal list",
        "โครงการบ้านสวน", 1, 0},
       {"J3", "2027-01-04", "J-3", "", 1, 0}});
  const std::vector<std::string> words = {"call", "--db", connection_string_, "SelectJob",
                                          "BranchCode="};
  const auto pick = [&](const std::string& answer) {
    return Call({"--pick", answer, "SelectJob", "BranchCode="});
  };
  EXPECT_EQ(pick("2").out, "J2\n");
  EXPECT_EQ(pick("none").out, "\n");
  EXPECT_REFUSED(pick("4"), 2, "has 3 rows");
  EXPECT_EQ(RunKz8mrp(words).out, "\n");

  if (std::system("command -v script >/dev/null 2>&1") != 0) GTEST_SKIP() << "no script(1)";
  const Outcome r = RunKz8mrpOnTerminal(words, "x\n7\n3\n");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_THAT(r.out, HasSubstr("please answer with one row number from the list (1-3)"));
  std::string shown = r.out;
  std::erase(shown, '\r');
  const std::vector<std::string> lines = kz8mrp::text::Split(shown, '\n');
  EXPECT_TRUE(shown.ends_with(": J3\n")) << "the picked job ends the output";

  // The title, the heads, a rule under them, then one line per job.
  const auto title = std::find(lines.begin(), lines.end(), "เลือกรหัสงาน");
  ASSERT_LT(title + 5, lines.end()) << r.out;
  const std::vector<std::string> table(title + 1, title + 6);
  EXPECT_EQ(table[2].substr(0, 4), "1  J");
  EXPECT_THAT(table[3], HasSubstr("\xE2\x80\xA6")) << "a long cell ends in an ellipsis";

  // Every column starts in the same screen cell on every line, Thai included.
  const std::vector<std::string> rule = ScreenCells(table[1]);
  std::vector<std::size_t> starts;
  for (std::size_t c = 1; c < rule.size(); ++c) {
    if (rule[c] == "-" && rule[c - 1] == " ") starts.push_back(c);
  }
  ASSERT_EQ(starts.size(), 4U) << table[1];
  EXPECT_LE(starts[3] - starts[2], 40U + 2U) << "a column is at most forty cells wide";
  for (const std::string& line : table) {
    const std::vector<std::string> cells = ScreenCells(line);
    for (const std::size_t s : starts) {
      if (cells.size() <= s) continue;  // an empty last cell leaves no blanks behind
      EXPECT_EQ(cells[s - 1], " ") << line;
      EXPECT_NE(cells[s], " ") << line;
    }
  }
}

// A worked week: 7.5 h a day once the setup's half hour is off, another job's
// 3 h on Tuesday, Wednesday a holiday; the account adds up to the end it gives.
TEST_P(CliTest, ExplainAccountsForEveryDayTheDateComputationLookedAt) {
  Insert("KZ8TSection", {{"TSecCode", "CUT"}, {"TSecHOffice", 8}});
  Insert("KZ8TEmpHoliday", {{"TEhdHolidayDate", "2027-01-06"}, {"TEhdYear", 2027}});
  InsertRows(
      "KZ8TMPS",
      {"TMPSNo", "TMPSTSecCode", "TMPSStartDate", "TMPSEndDate", "TMPSHour", "TMPSReserveType",
       "TMPSTJStTJbMTJobNo", "TMPSStatus", "TMPSDate"},
      {{"MPS-OTHER", "CUT", "2027-01-05 08:00", "2027-01-05 11:00", 3, "WIP", "J9", 1,
        "2027-01-05"},
       {"MPS-FG", "CUT", "2027-01-05 08:00", "2027-01-05 12:00", 4, "FG", "J9", 1, "2027-01-05"}});
  std::vector<std::string> words = kz8mrp::text::Split(
      "--explain|GetEndDateTime3|StartDateTime=2027-01-04 08:00|EairyFinish=2027-01-04 08:00|"
      "EsDay=2|TSecCode=CUT|SetupTime=30",
      '|');
  EXPECT_THAT(Call(words).out,
              HasSubstr("\n  2027-01-05 Tue  offers 7.5 h, reserved 3 h (MPS-OTHER "
                        "3 h); takes 4.5 h, 3 h left\n"));
  words.push_back("--json");
  const Outcome o = Call(words);
  ASSERT_EQ(o.status, 0) << o.err;
  const auto answer = nlohmann::json::parse(o.out);
  EXPECT_EQ(answer["result"], "2027-01-07 11:00:00");  // 08:00 and Thursday's 3 h
  const auto& walk = answer["explain"][0];
  std::string days;  // date, holiday or not, hours offered, reserved, taken, left
  for (const auto& d : walk["days"]) {
    days += d["date"].get<std::string>() + (d["holiday"].get<bool>() ? " holiday" : "");
    for (const char* h : {"offered", "reserved", "taken", "left"})
      days += " " + kz8mrp::text::NumberText(d[h].get<double>());
    days += "; ";
  }
  EXPECT_EQ(days,
            "2027-01-04 7.5 0 7.5 7.5; 2027-01-05 7.5 3 4.5 3; 2027-01-06 holiday 0 0 0 3; "
            "2027-01-07 7.5 0 3 0; ");
  EXPECT_EQ(walk["days"][1]["reservations"].dump(), "[{\"hours\":3.0,\"no\":\"MPS-OTHER\"}]");
  EXPECT_EQ(walk["stopped"], "all 15 h placed, the last 3 h on 2027-01-07");
}

// Run twice on one database, the demo rebuilds its job under the same number
// and makes its orders afresh; --pages puts its pages in a folder it makes.
TEST_P(CliTest, DemoShowsTheCalendarAndMakesAJobFromTheSalesOrder) {
  const fs::path folder = fs::temp_directory_path() / ("kz8mrp-pages-" + std::to_string(getpid()));
  for (int run = 0; run < 2; ++run) {
    const Outcome r =
        Run("demo", run ? std::vector<std::string>{"--pages", folder} : std::vector<std::string>{});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* said :
         {"2027-01-01 Fri  holiday", "job JOB-2612-00001",
          "job totals: covered 0, still to order 20", "job totals: covered 4, still to order 16",
          "20 PCS CHR-OAK", "materials: 8 OAK-BOARD at step 1, 32 SCREW-6 (any step)",
          "OAK-BOARD  2027-01-08       -4\n"}) {
      EXPECT_THAT(r.out, HasSubstr(said));
    }
    const std::string said = "drawn for a browser: ";
    int pages = 0;
    for (auto at = r.out.find(said); at != std::string::npos; at = r.out.find(said, at + 1)) {
      const std::string page = r.out.substr(at + said.size());
      EXPECT_TRUE(fs::remove(page.substr(0, page.find('\n')))) << r.out;
      EXPECT_EQ(run == 1, page.starts_with(folder.string())) << page;
      ++pages;
    }
    EXPECT_EQ(pages, 2) << "the schedule's page and the MRP run's";
  }
  EXPECT_TRUE(fs::remove(folder)) << "made for the pages, left empty";
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TJob WHERE TJobRefNo='SO2612-0007'"), "1");
}

KZ8_INSTANTIATE_DB_TEST(CliTest);

}  // namespace
}  // namespace kz8test
