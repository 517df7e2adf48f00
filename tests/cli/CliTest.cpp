// End-to-end runs of the built kz8mrp program.
#include "support/Process.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using kz8test::Outcome;

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() /
           ("kz8mrp-cli-" + std::to_string(::getpid()) + "-" + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    db_ = (dir_ / "plant.db").string();
  }
  void TearDown() override { fs::remove_all(dir_); }

  Outcome Run(const std::vector<std::string>& args) { return kz8test::RunKz8mrp(args); }
  // `kz8mrp call --db DB ARGS...`
  Outcome Call(std::vector<std::string> args) {
    args.insert(args.begin(), {"call", "--db", db_});
    return Run(args);
  }
  void InitDemo() { ASSERT_EQ(Run({"init", "--db", db_, "--demo"}).status, 0); }

  fs::path dir_;
  std::string db_;
};

#define EXPECT_OUTPUT(outcome, text)   \
  do {                                 \
    const Outcome o_ = (outcome);      \
    EXPECT_EQ(o_.status, 0) << o_.err; \
    EXPECT_EQ(o_.out, text);           \
  } while (0)

TEST_F(Cli, InitAgainKeepsEveryRowAndSettingsReadBack) {
  ASSERT_EQ(Run({"init", "--db", db_}).status, 0);
  EXPECT_OUTPUT(Run({"setting", "--db", db_, "MRPHourPerDay"}), "\n");
  EXPECT_OUTPUT(Run({"setting", "--db", db_, "MRPHourPerDay", "7.5"}), "");
  EXPECT_OUTPUT(Run({"setting", "--db", db_, "MRPDEFAULTPRODUCTIONBOOK", "ฝ่าย 'A'; --"}), "");
  EXPECT_OUTPUT(Run({"init", "--db", db_}), "");
  EXPECT_OUTPUT(Run({"init", "--db", "sqlite:" + db_, "--demo"}), "");
  EXPECT_OUTPUT(Run({"setting", "--db", db_, "MRPDEFAULTPRODUCTIONBOOK"}), "ฝ่าย 'A'; --\n");
  // The demo plant brings its own hours per day; loading it twice changes nothing.
  EXPECT_OUTPUT(Run({"setting", "--db", db_, "MRPHourPerDay"}), "8\n");
  EXPECT_OUTPUT(Run({"init", "--db", db_, "--demo"}), "");
  EXPECT_OUTPUT(Call({"GETHourPerDay", "HourType=1", "SecCode=CUT"}), "10\n");
  EXPECT_EQ(Run({"setting", "--db", db_}).status, 2);
}

TEST_F(Cli, CallReadsTypedArguments) {
  InitDemo();
  EXPECT_OUTPUT(Call({"GETHourPerDay", "HourType=KZ8HourTypeWithOT1", "SecCode=CUT"}), "10\n");
  EXPECT_OUTPUT(Call({"gethourperday", "hourtype=kz8hourtypewithot1", "SECCODE=ASM"}), "11\n");
  EXPECT_OUTPUT(Call({"GETHourPerDay", "HourType=3", "SecCode=ASM"}), "15\n");
  EXPECT_OUTPUT(Call({"GETHourPerDay", "HourType=0", "SecCode=ASM"}), "7.5\n");
  EXPECT_OUTPUT(Call({"isMRPHoliday", "iDate=2027-01-01", "BranchCode=HQ"}), "True\n");
  EXPECT_OUTPUT(Call({"isMRPHoliday", "iDate=2027-01-15 10:00", "BranchCode="}), "False\n");
  EXPECT_OUTPUT(
      Call({"MoveToOfficeHourDate", "iDate=2027-01-01 09:30", "MoveNext=True", "BranchCode=HQ"}),
      "2027-01-04 09:30:00\n");
  EXPECT_OUTPUT(
      Call({"MoveToOfficeHourDate", "iDate=2027-01-01 09:30:15", "MoveNext=0", "BranchCode=HQ"}),
      "2026-12-31 09:30:15\n");
  EXPECT_OUTPUT(
      Call({"--json", "--now", "2027-01-04 08:00:00", "--user", "somchai", "--english",
            "MoveToOfficeHourDate", "iDate=2027-01-09", "MoveNext=false", "BranchCode=HQ"}),
      "{\"result\": \"2027-01-08 00:00:00\", \"byref\": {}}\n");
  EXPECT_OUTPUT(Call({"--json", "isMRPHoliday", "iDate=2027-01-02", "BranchCode=HQ"}),
                "{\"result\": true, \"byref\": {}}\n");
}

TEST_F(Cli, UsageErrorsExitWithTwo) {
  InitDemo();
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"NoSuchMethod"}, "unknown method: NoSuchMethod"},
      {{"GETHourPerDay", "HourType=1", "SecCode=CUT", "Shift=2"}, "has no parameter Shift"},
      {{"GETHourPerDay", "HourType=1", "DataObj=x"}, "has no parameter DataObj"},
      {{"GETHourPerDay", "HourType=eight", "SecCode=CUT"}, "HourType"},
      {{"GETHourPerDay", "SecCode=CUT"}, "needs HourType"},
      {{"GETHourPerDay", "HourType=1", "HourType=2", "SecCode=CUT"}, "given twice"},
      {{"GETProductionTime", "ProductCode=P", "StartDate=2027-01-04", "Unit1Volume=1,5"},
       "Unit1Volume"},
      {{"isMRPHoliday", "iDate=2027-02-30", "BranchCode="}, "2027-02-30"},
      {{"isMRPHoliday", "iDate=0099-12-31", "BranchCode="}, "0099-12-31"},
      {{"MoveToOfficeHourDate", "iDate=2027-01-04", "MoveNext=maybe", "BranchCode="}, "maybe"},
      {{"GenerateSF", "ProductCode=P", "ARCode=A", "iYear=40000", "iMonth=1", "iDay=1"}, "iYear"},
      {{"--now", "2027-13-01", "GETProductionTime", "ProductCode=P", "StartDate=2027-01-04"},
       "--now"},
      {{"--shift", "GETProductionTime"}, "unknown option --shift"},
      {{"--pick", "0", "GETProductionTime", "ProductCode=P", "StartDate=2027-01-04"}, "--pick"},
      {{"--pick", "first", "GETProductionTime", "ProductCode=P", "StartDate=2027-01-04"}, "--pick"},
      {{"isMRPHoliday", "2027-01-04"}, "NAME=VALUE"},
      {{}, "METHOD"},
  };
  for (const auto& [args, message] : cases) {
    const Outcome o = Call(args);
    EXPECT_EQ(o.status, 2) << message;
    EXPECT_NE(o.err.find(message), std::string::npos) << o.err;
    EXPECT_EQ(o.out, "") << message;
  }
  EXPECT_EQ(Run({"frobnicate"}).status, 2);
  EXPECT_EQ(Run({}).status, 2);
  EXPECT_EQ(Run({"call", "GETProductionTime", "ProductCode=P", "StartDate=2027-01-04"}).status, 2);
}

// Failures are shown on a database without tables, where every method that
// reads one fails, whichever of them are built.
TEST_F(Cli, FailedCallsExitWithOneAndTheErrorNumber) {
  const std::string bare = (dir_ / "bare.db").string();
  std::ofstream{bare};  // an empty file is a database without tables
  const auto call_bare = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {"call", "--db", bare});
    return Run(args);
  };
  // A database error comes with the database's own number and text.
  Outcome o = call_bare({"isMRPHoliday", "iDate=2027-01-01", "BranchCode="});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err.rfind("error 1: no such table: KZ8TEmpHoliday", 0), 0u) << o.err;
  EXPECT_EQ(o.out, "");

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"GetEndDateTime", "StartDateTime=2027-01-04 08:00", "Hours=2"},
        {"--json", "CreateMPSFromJob", "DocNo=J1"},
        // A TR method runs in a transaction of the call's own and is rolled back.
        {"CreateProductionOrderFromJobLnTR", "JobNo=J1", "JbMLn=1", "ApproveStatus=1"}}) {
    o = call_bare(args);
    EXPECT_EQ(o.status, 1) << args[0];
    EXPECT_EQ(o.err.rfind("error ", 0), 0u) << o.err;
    EXPECT_NE(o.err.find(": "), std::string::npos) << o.err;
    EXPECT_EQ(o.out, "") << args[0];
  }
  // The default book is read before anything else: that is where it failed.
  EXPECT_EQ(o.err.rfind("error 1: no such table: KZ8TSetting", 0), 0u) << o.err;
  // Nothing was left open: the next writer gets the database.
  EXPECT_OUTPUT(Run({"init", "--db", bare}), "");

  // A mistyped path is an error, not a new empty plant.
  const std::string typo = (dir_ / "plnat.db").string();
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"call", "--db", typo, "isMRPHoliday", "iDate=2027-01-01",
                                 "BranchCode="},
        {"setting", "--db", typo, "MRPHourPerDay"}}) {
    o = Run(args);
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("no database at " + typo), std::string::npos) << o.err;
  }
  EXPECT_FALSE(fs::exists(typo));
}

TEST_F(Cli, DoNothingAndBracketingMethods) {
  // Methods that do nothing never open the database.
  EXPECT_OUTPUT(
      Call({"GenerateSF", "ProductCode=P", "ARCode=A", "iYear=2027", "iMonth=1", "iDay=40"}),
      "1\n");
  EXPECT_OUTPUT(Call({"--pick", "none", "GETProductionTime", "ProductCode=P",
                      "StartDate=2027-01-04", "Unit2Volume=5"}),
                "0\n");
  EXPECT_FALSE(fs::exists(db_));
  InitDemo();
  EXPECT_OUTPUT(Call({"CreateJOBfromSOTR", "SONo=SO1"}), "\n");
  EXPECT_OUTPUT(
      Call({"CreateProcessBulkOrderTR", "ProductCode=P", "Quantity=-1", "IgnoreBatchSize=True"}),
      "\n");
  EXPECT_OUTPUT(Call({"CreateProductionOrderFromJobList", "JL=J1,J2", "ApproveStatus=1"}), "\n");
  EXPECT_OUTPUT(
      Call({"--json", "CreateProcessOrderFromJobMethodLevelList", "JL=J1", "ApproveStatus=0"}),
      "{\"result\": \"\", \"byref\": {}}\n");
}

TEST_F(Cli, MethodsListTheInterface) {
  Outcome o = Run({"methods"});
  EXPECT_EQ(o.status, 0);
  std::istringstream lines(o.out);
  std::vector<std::string> all;
  for (std::string line; std::getline(lines, line);) all.push_back(line);
  ASSERT_EQ(all.size(), 58u);
  EXPECT_EQ(all.front(),
            "0x60030000 GETProductionTime(ProductCode As String, StartDate As Date, Optional "
            "Unit1Volume As Double = 0, Optional Unit3Volume As Double = 0, Optional Unit2Volume "
            "As Double = 0) As Double");
  EXPECT_EQ(all[41],
            "0x60030029 GenerateMRP(DataObj As DataObj, ProductCode As String, FromDate As Date, "
            "ByRef ToDate As Date) As Integer");

  o = Run({"methods", "--json"});
  EXPECT_EQ(o.status, 0);
  std::size_t entries = 0;
  for (std::size_t at = 0; (at = o.out.find("{\"index\": ", at)) != std::string::npos; ++at) {
    ++entries;
  }
  EXPECT_EQ(entries, 58u);
  EXPECT_NE(o.out.find("{\"index\": 57, \"dispid\": \"0x60030039\", \"name\": \"SelectJob\""),
            std::string::npos);
  EXPECT_NE(o.out.find("{\"name\": \"SplitChar\", \"type\": \"String\", \"byref\": true, "
                       "\"optional\": true, \"default\": \"#\"}"),
            std::string::npos);
}

TEST_F(Cli, DemoRuns) {
  const Outcome o = Run({"demo", "--db", db_});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("Hours per working day"), std::string::npos);
  EXPECT_NE(o.out.find("2027-01-01 Fri  holiday"), std::string::npos) << o.out;
}

}  // namespace
