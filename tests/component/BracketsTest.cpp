#include "component/Recorder.h"

#include <functional>

namespace kz8test {
namespace {

struct Bracketing {
  std::string name;
  bool always_commits;
  // Calls the method; its result as text.
  std::function<std::string(MRPObject&, DataObj&, AppObj&, ClientObj&)> call;
};

const OleDate kStart = OleDate::FromParts(2027, 1, 4, 8);

// The four whose twins do real work (here: the recorder's).
const std::vector<Bracketing> kBrackets = {
    {"CreateMPS", true,
     [](MRPObject& e, DataObj& d, AppObj& a, ClientObj& c) {
       return e.CreateMPS(kStart, 2, "JOB", "HQ", kStart, d, a, c);
     }},
    {"CreateMPSFromJob", true,
     [](MRPObject& e, DataObj& d, AppObj& a, ClientObj& c) {
       return std::to_string(e.CreateMPSFromJob("J1", d, a, c));
     }},
    {"CreateProductionOrderFromJobLn3", false,
     [](MRPObject& e, DataObj& d, AppObj& a, ClientObj& c) {
       return e.CreateProductionOrderFromJobLn3("J1", 1, 1, d, a, c);
     }},
    {"CreateProcessOrderFromJobMethodLevel2", false,
     [](MRPObject& e, DataObj& d, AppObj& a, ClientObj& c) {
       return e.CreateProcessOrderFromJobMethodLevel2("J1", 1, 1, 1, 1, d, a, c);
     }},
};

class BracketsTest : public RecordedDbTest {
 protected:
  // The twin leaves a trace in the database before it answers.
  std::string Run(const Bracketing& b, const std::string& twin_answer) {
    recorder().text_result = twin_answer;
    recorder().twin_sql =
        "INSERT INTO KZ8TSetting (TSetKey,TSetValue) VALUES ('" + b.name + "','x')";
    data().calls.clear();
    return b.call(engine(), data(), app_, client_);
  }
  bool TraceKept(const std::string& key) {
    return Scalar("SELECT COUNT(*) FROM KZ8TSetting WHERE TSetKey='" + key + "'") == "1";
  }
};

// A document is committed; without one the schedule brackets still commit and
// the order brackets roll back.
TEST_P(BracketsTest, CommitWhenADocumentIsMadeOrTheScheduleIsBooked) {
  for (const std::string answer : {"DOC-9", ""}) {
    for (const Bracketing& b : kBrackets) {
      SCOPED_TRACE(b.name + " answered '" + answer + "'");
      const bool commits = b.always_commits || !answer.empty();
      const std::string result = Run(b, answer);
      EXPECT_EQ(result, b.name == "CreateMPSFromJob" ? (answer.empty() ? "0" : "1") : answer);
      EXPECT_EQ(data().calls, commits ? kCommitted : kRolledBack);
      EXPECT_EQ(TraceKept(b.name), commits);
      EXPECT_EQ(data().TransactionDepth(), 0);
      Exec("DELETE FROM KZ8TSetting");
    }
  }
}

// An error from the twin leaves before the closing calls: the transaction stays
// open for the caller's session to end.
TEST_P(BracketsTest, ATwinsErrorLeavesTheBracketOpen) {
  recorder().twin_raises = true;
  for (const Bracketing& b : kBrackets) {
    SCOPED_TRACE(b.name);
    try {
      Run(b, "DOC-9");
      ADD_FAILURE() << "the error was swallowed";
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), errc::kDivisionByZero);
    }
    EXPECT_EQ(data().calls, (Calls{"OpenSession", "BeginTrans"}));
    EXPECT_EQ(data().TransactionDepth(), 1);
    data().RollbackTrans();
    data().CloseSession();
    EXPECT_FALSE(TraceKept(b.name));
  }
}

TEST_P(BracketsTest, ListMethodsAlwaysRollBack) {
  EXPECT_EQ(engine().CreateProductionOrderFromJobList("J1,J2", 1, data(), app_, client_), "");
  EXPECT_EQ(engine().CreateProcessOrderFromJobMethodLevelList("J1", 0, data(), app_, client_), "");
  Calls twice = kRolledBack;
  twice.insert(twice.end(), kRolledBack.begin(), kRolledBack.end());
  EXPECT_EQ(data().calls, twice);
  EXPECT_TRUE(calls().empty());
}

TEST_P(BracketsTest, TheTwinGetsTheSameArguments) {
  const OleDate doc_date = OleDate::FromParts(2027, 1, 3);
  engine().CreateMPS(kStart, 2.5, "PM", "BR2", doc_date, data(), app_, client_, "CUT", "J9", 3, 4,
                     5, 6);
  engine().CreateMPS(kStart, 1, "HOLIDAY", "HQ", doc_date, data(), app_, client_);
  engine().CreateMPSFromJob("J'9", data(), app_, client_);
  engine().CreateProductionOrderFromJobLn3("J9", 3, 0, data(), app_, client_, 12.5, "BK");
  EXPECT_EQ(calls(),
            (Calls{"CreateMPSTR(2027-01-04 08:00:00, 2.5, 'PM', 'BR2', 2027-01-03 00:00:00, data, "
                   "app, client, 'CUT', 'J9', 3, 4, 5, 6)",
                   "CreateMPSTR(2027-01-04 08:00:00, 1, 'HOLIDAY', 'HQ', 2027-01-03 00:00:00, "
                   "data, app, client, '', '', 0, 0, 0, 0)",
                   "CreateMPSFromJobTR('J'9', data, app, client)",
                   "CreateProductionOrderFromJobLn3TR('J9', 3, 0, data, app, client, 12.5, "
                   "'BK')"}));
}

// Inside a caller's transaction a bracket nests: rolling back drops only its own work.
TEST_P(BracketsTest, NestsInsideTheCallersTransaction) {
  const Bracketing& order = kBrackets[2];
  const Bracketing& schedule = kBrackets[0];
  data().BeginTrans();
  data().ExecuteSQL("INSERT INTO KZ8TSetting (TSetKey,TSetValue) VALUES ('caller','x')");
  EXPECT_EQ(Run(order, ""), "");
  EXPECT_EQ(Run(schedule, "MPS-1"), "MPS-1");
  EXPECT_EQ(data().TransactionDepth(), 1);
  data().CommitTrans();
  EXPECT_TRUE(TraceKept("caller"));
  EXPECT_FALSE(TraceKept(order.name));
  EXPECT_TRUE(TraceKept(schedule.name));
}

KZ8_INSTANTIATE_DB_TEST(BracketsTest);

}  // namespace
}  // namespace kz8test
