#include "component/Recorder.h"

#include <functional>

namespace kz8test {
namespace {

using Calls = std::vector<std::string>;

const Calls kCommitted = {"OpenSession", "BeginTrans", "CommitTrans", "CloseSession"};
const Calls kRolledBack = {"OpenSession", "BeginTrans", "RollbackTrans", "CloseSession"};

struct Bracketing {
  const char* name;
  bool always_commits;
  // Calls the method; its result as text.
  std::function<std::string(MRPObject&, DataObj&, AppObj&, ClientObj&)> call;
};

const OleDate kStart = OleDate::FromParts(2027, 1, 4, 8);

// The four whose twins do real work (here: the recorder's).
const std::vector<Bracketing>& WorkingBrackets() {
  static const std::vector<Bracketing> cases = {
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
  return cases;
}

class BracketsTest : public RecordedDbTest {
 protected:
  // The twin leaves a trace in the database before it answers.
  std::string Run(const Bracketing& b, const std::string& twin_answer) {
    recorder().text_result = twin_answer;
    recorder().twin_sql =
        std::string("INSERT INTO KZ8TSetting (TSetKey,TSetValue) VALUES ('") + b.name + "','x')";
    data().calls.clear();
    return b.call(engine(), data(), app_, client_);
  }
  bool TraceKept(const Bracketing& b) {
    return Scalar(std::string("SELECT COUNT(*) FROM KZ8TSetting WHERE TSetKey='") + b.name + "'") ==
           "1";
  }
};

TEST_P(BracketsTest, ADocumentIsCommitted) {
  for (const Bracketing& b : WorkingBrackets()) {
    const std::string result = Run(b, "DOC-9");
    EXPECT_EQ(result, std::string(b.name) == "CreateMPSFromJob" ? "1" : "DOC-9") << b.name;
    EXPECT_EQ(data().calls, kCommitted) << b.name;
    EXPECT_TRUE(TraceKept(b)) << b.name;
    EXPECT_EQ(data().TransactionDepth(), 0) << b.name;
  }
}

// No document: the schedule brackets still commit, the order brackets roll back.
TEST_P(BracketsTest, NoDocumentCommitsOnlyTheSchedule) {
  for (const Bracketing& b : WorkingBrackets()) {
    const std::string result = Run(b, "");
    EXPECT_EQ(result, std::string(b.name) == "CreateMPSFromJob" ? "0" : "") << b.name;
    EXPECT_EQ(data().calls, b.always_commits ? kCommitted : kRolledBack) << b.name;
    EXPECT_EQ(TraceKept(b), b.always_commits) << b.name;
    EXPECT_EQ(data().TransactionDepth(), 0) << b.name;
  }
}

// An error from the twin leaves before the closing calls: the transaction stays
// open for the caller's session to end.
TEST_P(BracketsTest, ATwinsErrorLeavesTheBracketOpen) {
  recorder().twin_raises = true;
  for (const Bracketing& b : WorkingBrackets()) {
    try {
      Run(b, "DOC-9");
      ADD_FAILURE() << b.name << " swallowed the error";
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), errc::kDivisionByZero) << b.name;
    }
    EXPECT_EQ(data().calls, (Calls{"OpenSession", "BeginTrans"})) << b.name;
    EXPECT_EQ(data().TransactionDepth(), 1) << b.name;
    data().RollbackTrans();
    data().CloseSession();
    EXPECT_FALSE(TraceKept(b)) << b.name;
  }
}

TEST_P(BracketsTest, ListMethodsAlwaysRollBack) {
  data().calls.clear();
  EXPECT_EQ(engine().CreateProductionOrderFromJobList("J1,J2", 1, data(), app_, client_), "");
  EXPECT_EQ(data().calls, kRolledBack);
  data().calls.clear();
  EXPECT_EQ(engine().CreateProcessOrderFromJobMethodLevelList("J1", 0, data(), app_, client_), "");
  EXPECT_EQ(data().calls, kRolledBack);
  EXPECT_TRUE(calls().empty());
}

TEST_P(BracketsTest, TheTwinGetsTheSameArguments) {
  const OleDate doc_date = OleDate::FromParts(2027, 1, 3);
  engine().CreateMPS(kStart, 2.5, "PM", "BR2", doc_date, data(), app_, client_, "CUT", "J9", 3, 4,
                     5, 6);
  engine().CreateMPS(kStart, 1, "HOLIDAY", "HQ", doc_date, data(), app_, client_);
  engine().CreateMPSFromJob("J'9", data(), app_, client_);
  engine().CreateProductionOrderFromJobLn3("J9", 3, 0, data(), app_, client_, 12.5, "BK");
  EXPECT_EQ(
      calls(),
      (Calls{"CreateMPSTR(2027-01-04 08:00:00, 2.5, 'PM', 'BR2', 2027-01-03 00:00:00, data, "
             "app, client, 'CUT', 'J9', 3, 4, 5, 6)",
             "CreateMPSTR(2027-01-04 08:00:00, 1, 'HOLIDAY', 'HQ', 2027-01-03 00:00:00, data, "
             "app, client, '', '', 0, 0, 0, 0)",
             "CreateMPSFromJobTR('J'9', data, app, client)",
             "CreateProductionOrderFromJobLn3('J9', 3, 0, data, app, client, 12.5, 'BK')",
             "CreateProductionOrderFromJobLn3TR('J9', 3, 0, data, app, client, 12.5, "
             "'BK')"}));
}

// Inside a caller's transaction a bracket nests: rolling back drops only its own work.
TEST_P(BracketsTest, NestsInsideTheCallersTransaction) {
  const Bracketing& order = WorkingBrackets()[2];
  data().BeginTrans();
  data().ExecuteSQL("INSERT INTO KZ8TSetting (TSetKey,TSetValue) VALUES ('caller','x')");
  EXPECT_EQ(Run(order, ""), "");
  EXPECT_EQ(Run(WorkingBrackets()[0], "MPS-1"), "MPS-1");
  EXPECT_EQ(data().TransactionDepth(), 1);
  data().CommitTrans();
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TSetting WHERE TSetKey='caller'"), "1");
  EXPECT_FALSE(TraceKept(order));
  EXPECT_TRUE(TraceKept(WorkingBrackets()[0]));
}

KZ8_INSTANTIATE_DB_TEST(BracketsTest);

}  // namespace
}  // namespace kz8test
