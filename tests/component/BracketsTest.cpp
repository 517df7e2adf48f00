#include "component/Recorder.h"
#include "support/Errors.h"

#include <functional>

namespace kz8test {
namespace {

struct Bracketing {
  std::string name;
  bool always_commits;
  // Calls the method; its result as text.
  std::function<std::string(MRPObject&, DataObj&, AppObj&, ClientObj&)> call;
  std::string twin_call;  // the same arguments, handed to the twin
};

const OleDate kStart = OleDate::FromParts(2027, 1, 4, 8);

// The four whose twins do real work (here: the recorder's).
const std::vector<Bracketing> kBrackets = {
    {"CreateMPS", true,
     [](MRPObject& e, DataObj& d, AppObj& a, ClientObj& c) {
       return e.CreateMPS(kStart, 2.5, "PM", "BR2", kStart.AddDays(-1), d, a, c, "CUT", "J9", 3, 4,
                          5, 6);
     },
     "CreateMPSTR(2027-01-04 08:00:00, 2.5, 'PM', 'BR2', 2027-01-03 08:00:00, data, app, client, "
     "'CUT', 'J9', 3, 4, 5, 6)"},
    {"CreateMPSFromJob", true,
     [](MRPObject& e, DataObj& d, AppObj& a, ClientObj& c) {
       return std::to_string(e.CreateMPSFromJob("J'9", d, a, c));
     },
     "CreateMPSFromJobTR('J'9', data, app, client)"},
    {"CreateProductionOrderFromJobLn3", false,
     [](MRPObject& e, DataObj& d, AppObj& a, ClientObj& c) {
       return e.CreateProductionOrderFromJobLn3("J9", 3, 0, d, a, c, 12.5, "BK");
     },
     "CreateProductionOrderFromJobLn3TR('J9', 3, 0, data, app, client, 12.5, 'BK')"},
    {"CreateProcessOrderFromJobMethodLevel2", false,
     [](MRPObject& e, DataObj& d, AppObj& a, ClientObj& c) {
       return e.CreateProcessOrderFromJobMethodLevel2("J1", 1, 2, 3, 1, d, a, c, 4.5);
     },
     "CreateProcessOrderFromJobMethodLevel2TR('J1', 1, 2, 3, 1, data, app, client, 4.5)"},
};

class BracketsTest : public RecordedDbTest {
 protected:
  // The twin leaves a trace in the database before it answers.
  std::string Run(const Bracketing& b, const std::string& twin_answer) {
    recorder().text_result = twin_answer;
    recorder().twin_sql =
        "INSERT INTO KZ8TSetting (TSetKey,TSetValue) VALUES ('" + b.name + "','x')";
    data().calls.clear();
    recorder().calls.clear();
    return b.call(engine(), data(), app_, client_);
  }
  bool TraceKept(const std::string& key) {
    return Scalar("SELECT COUNT(*) FROM KZ8TSetting WHERE TSetKey='" + key + "'") == "1";
  }
};

// The twin gets the same arguments. A document is committed; without one the
// schedule brackets still commit and the order brackets roll back.
TEST_P(BracketsTest, CommitWhenADocumentIsMadeOrTheScheduleIsBooked) {
  for (const std::string answer : {"DOC-9", ""}) {
    for (const Bracketing& b : kBrackets) {
      SCOPED_TRACE(b.name + " answered '" + answer + "'");
      const bool commits = b.always_commits || !answer.empty();
      const std::string result = Run(b, answer);
      EXPECT_EQ(calls(), Calls{b.twin_call});
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
    EXPECT_EQ(ErrorNumberOf([&] { Run(b, "DOC-9"); }), errc::kDivisionByZero);
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

KZ8_INSTANTIATE_DB_TEST(BracketsTest);

}  // namespace
}  // namespace kz8test
