// How entry points hand their calls on to the working variants, and the
// transaction brackets around them.
#include "component/Internals.h"
#include "component/Recorder.h"
#include "support/Errors.h"

#include <functional>

namespace kz8test {
namespace {

// Each entry point fills in its values and passes the rest on. The stepping chains make the given
// time the bound and hand SetupTime on by reference, so what the working variant writes reaches the
// caller; GenerateMRP only reads its ToDate, and its balance flag becomes a mode of 2 or 0, handed
// on as a copy the working variant may change.
TEST_F(RecordedTest, EntryPointsFillInTheirValuesAndPassTheRestOn) {
  Integer setup = 5;
  EXPECT_EQ(engine_.GetEndDateTime(start_, 2.5, data_, app_, client_, false, true, false, setup),
            recorder_.date_result);
  EXPECT_EQ(setup, 45);
  engine_.GetStartDateTime(start_, 4, data_, app_, client_);
  engine_.GetStartDateTime2(start_, start_.AddDays(-3), 1.5, "CUT", data_, app_, client_, true,
                            false, true, setup, KZ8HourTypeFullDay);
  EXPECT_EQ(engine_.AdjustJOBTR("PD-1", true, data_, app_, client_), 7);
  EXPECT_EQ(engine_.SelectFormulaSet("FG", data_), recorder_.text_result);
  engine_.CreateProcessBulkOrder2TR("P1", 12.5, true, start_, start_.AddDays(5), 1, data_, app_,
                                    client_);
  const OleDate from = OleDate::FromParts(2027, 1, 1);
  OleDate to = OleDate::FromParts(2027, 3, 31);
  EXPECT_EQ(engine_.GenerateMRP(data_, "P1", from, to), 3);
  EXPECT_EQ(to, OleDate::FromParts(2027, 3, 31));
  bool use_balance = true;
  engine_.GenerateMRP3(data_, "P1", from, to, use_balance, 40, false);
  engine_.GenerateMRP2(data_, "P1", from, to, use_balance, 2.5);
  EXPECT_TRUE(use_balance);
  // NOLINTBEGIN(bugprone-suspicious-missing-comma): each call's line is long
  EXPECT_EQ(
      recorder_.calls,
      (Calls{"GetEndDateTime2(2027-01-04 08:00:00, 2027-01-04 08:00:00, 2.5, '', data, app, "
             "client, False, True, False, 5, HourType 0)",
             "GetEndDateTime3(2027-01-04 08:00:00, 2027-01-04 08:00:00, 2.5, '', data, app, "
             "client, False, True, False, 5, HourType 0, '', 0)",
             "GetStartDateTime3(2027-01-04 08:00:00, 2027-01-04 08:00:00, 4, '', data, app, "
             "client, True, True, True, 0, HourType 0, '', 0)",
             "GetStartDateTime3(2027-01-04 08:00:00, 2027-01-01 08:00:00, 1.5, 'CUT', data, "
             "app, client, True, False, True, 45, HourType 4, '', 0)",
             "AdjustJOB2TR('PD-1', '', True, data, app, client)",
             "SelectFormula('FG', data, True, True)",
             "CreateProcessBulkOrder4TR('P1', 12.5, True, 2027-01-04 08:00:00, 2027-01-09 "
             "08:00:00, 1, data, app, client, '', '')",
             "GenerateMRP4(data, 'P1', 2027-01-01 00:00:00, 2027-03-31 00:00:00, 0, 0, True)",
             "GenerateMRP4(data, 'P1', 2027-01-01 00:00:00, 2027-03-31 00:00:00, 2, 40, False)",
             "GenerateMRP4(data, 'P1', 2027-01-01 00:00:00, 2027-03-31 00:00:00, 2, 2.5, True)"}));
  // NOLINTEND(bugprone-suspicious-missing-comma)
}

// The six methods that do nothing accept anything and touch nothing.
TEST_F(RecordedTest, DoNothingMethodsTouchNothing) {
  EXPECT_EQ(engine_.GETProductionTime("P1", start_, 1, 2, 3), 0);
  EXPECT_EQ(engine_.CreateJOBfromSOTR("SO-1", data_, app_, client_), "");
  EXPECT_EQ(engine_.CreateProcessBulkOrderTR("P1", -1, true, data_, app_, client_), "");
  EXPECT_EQ(engine_.CreateProductionOrderFromJobListTR("J1,J2", 1, data_, app_, client_), "");
  EXPECT_EQ(engine_.CreateProcessOrderFromJobMethodLevelListTR("x", 0, data_, app_, client_), "");
  EXPECT_EQ(engine_.GenerateSF(data_, "P1", "AR", 2027, 13, 40), 1);
  EXPECT_TRUE(recorder_.calls.empty());  // nor did GenerateSF reach GenerateSF2: it would raise
  EXPECT_EQ(MRPObjectInternals::ServiceObjectsCreated(engine_), 0);
}

struct Bracketing {
  std::string name;
  bool always_commits;
  // Calls the method; its result as text.
  std::function<std::string(MRPObject&, DataObj&, AppObj&, ClientObj&)> call;
  std::string twin_call;  // the same arguments, handed to the twin
};

const OleDate kStart = OleDate::FromParts(2027, 1, 4, 8);

// The four whose twins do real work (here: the recorder's).
#define KZ8_CALL(...) [](MRPObject& e, DataObj& d, AppObj& a, ClientObj& c) { return __VA_ARGS__; }
const std::vector<Bracketing> kBrackets = {
    {"CreateMPS", true,
     KZ8_CALL(e.CreateMPS(kStart, 2.5, "PM", "BR2", kStart.AddDays(-1), d, a, c, "CUT", "J9", 3, 4,
                          5, 6)),
     "CreateMPSTR(2027-01-04 08:00:00, 2.5, 'PM', 'BR2', 2027-01-03 08:00:00, data, app, client, "
     "'CUT', 'J9', 3, 4, 5, 6)"},
    {"CreateMPSFromJob", true, KZ8_CALL(std::to_string(e.CreateMPSFromJob("J'9", d, a, c))),
     "CreateMPSFromJobTR('J'9', data, app, client)"},
    {"CreateProductionOrderFromJobLn3", false,
     KZ8_CALL(e.CreateProductionOrderFromJobLn3("J9", 3, 0, d, a, c, 12.5, "BK")),
     "CreateProductionOrderFromJobLn3TR('J9', 3, 0, data, app, client, 12.5, 'BK')"},
    {"CreateProcessOrderFromJobMethodLevel2", false,
     KZ8_CALL(e.CreateProcessOrderFromJobMethodLevel2("J1", 1, 2, 3, 1, d, a, c, 4.5)),
     "CreateProcessOrderFromJobMethodLevel2TR('J1', 1, 2, 3, 1, data, app, client, 4.5)"},
};
#undef KZ8_CALL

// A database test whose session and engine record what they are asked.
class BracketsTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    session_ = std::make_unique<WatchedData>(connection_string_, app_, client_);
    recorder_ = std::make_unique<Recorder>(*session_, app_, client_);
  }
  void TearDown() override {
    recorder_.reset();
    session_.reset();
    DbTest::TearDown();
  }
  bool TraceKept(const std::string& key) {
    return Scalar("SELECT COUNT(*) FROM KZ8TSetting WHERE TSetKey='" + key + "'") == "1";
  }
  WatchedData& data() { return *session_; }
  MRPObject& engine() { return *recorder_; }
  std::unique_ptr<WatchedData> session_;
  std::unique_ptr<Recorder> recorder_;
};

// The twin gets the same arguments. A document is committed; without one the schedule brackets
// still commit and the order brackets roll back. An error from the twin leaves before the closing
// calls: the transaction stays open for the caller's session to end.
TEST_P(BracketsTest, CommitWhenADocumentIsMadeOrTheScheduleIsBooked) {
  for (const std::string answer : {"DOC-9", "", "an error"}) {
    recorder_->twin_raises = answer == "an error";
    for (const Bracketing& b : kBrackets) {
      SCOPED_TRACE(b.name + " answered '" + answer + "'");
      // The twin leaves a trace in the database before it answers.
      recorder_->text_result = answer;
      recorder_->twin_sql = "INSERT INTO KZ8TSetting VALUES ('" + b.name + "', 'x')";
      data().calls.clear();
      recorder_->calls.clear();
      std::string result;
      const int error = ErrorNumberOf([&] { result = b.call(engine(), data(), app_, client_); });
      EXPECT_EQ(recorder_->calls, Calls{b.twin_call});
      if (recorder_->twin_raises) {
        EXPECT_EQ(error, errc::kDivisionByZero);
        EXPECT_EQ(data().calls, (Calls{"OpenSession", "BeginTrans"}));
        EXPECT_EQ(data().TransactionDepth(), 1);
        data().RollbackTrans();
        data().CloseSession();
        EXPECT_FALSE(TraceKept(b.name));
        continue;
      }
      const bool commits = b.always_commits || !answer.empty();
      EXPECT_EQ(result, b.name == "CreateMPSFromJob" ? (answer.empty() ? "0" : "1") : answer);
      EXPECT_EQ(data().calls, commits ? kCommitted : kRolledBack);
      EXPECT_EQ(TraceKept(b.name), commits);
      EXPECT_EQ(data().TransactionDepth(), 0);
      Exec("DELETE FROM KZ8TSetting");
    }
  }
}

TEST_P(BracketsTest, ListMethodsAlwaysRollBack) {
  EXPECT_EQ(engine().CreateProductionOrderFromJobList("J1,J2", 1, data(), app_, client_), "");
  EXPECT_EQ(engine().CreateProcessOrderFromJobMethodLevelList("J1", 0, data(), app_, client_), "");
  EXPECT_EQ(data().calls, (Calls{"OpenSession", "BeginTrans", "RollbackTrans", "CloseSession",
                                 "OpenSession", "BeginTrans", "RollbackTrans", "CloseSession"}));
  EXPECT_TRUE(recorder_->calls.empty());
}

// The TR chains take the default production book from the settings, read in
// the caller's transaction; the bracketing chains pass an empty book.
TEST_P(BracketsTest, TrChainsReadTheDefaultBookBracketingChainsPassNone) {
  Setting("MRPDEFAULTPRODUCTIONBOOK", "BK1");
  data().BeginTrans();
  data().ExecuteSQL(
      "UPDATE KZ8TSetting SET TSetValue='BK2' WHERE TSetKey='MRPDEFAULTPRODUCTIONBOOK'");
  const OleDate start = OleDate::FromParts(2027, 1, 4);
  EXPECT_EQ(engine().CreateProductionOrderFromJobLnTR("J1", 2, 1, data(), app_, client_), "DOC-1");
  EXPECT_EQ(
      engine().CreateProductionBulkOrderTR("P1", 3, false, start, start, 0, data(), app_, client_),
      "DOC-1");
  data().RollbackTrans();
  engine().CreateProductionOrderFromJobLn2TR("J1", 2, 1, data(), app_, client_, 4.5);
  EXPECT_EQ(data().calls, (Calls{"BeginTrans", "RollbackTrans"}));
  engine().CreateProductionOrderFromJobLn("J1", 2, 1, data(), app_, client_);
  engine().CreateProcessOrderFromJobMethodLevel("J1", 2, 3, 4, 0, data(), app_, client_);
  engine().CreateProcessOrderFromJobMethodLevelTR("J1", 2, 3, 4, 1, data(), app_, client_);
  EXPECT_EQ(
      recorder_->calls,
      (Calls{"CreateProductionOrderFromJobLn3TR('J1', 2, 1, data, app, client, 0, 'BK2')",
             // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one call's line is long
             "CreateProductionBulkOrder3TR('P1', 3, False, 2027-01-04 00:00:00, 2027-01-04 "
             "00:00:00, 0, data, app, client, '', 'BK2')",
             "CreateProductionOrderFromJobLn3TR('J1', 2, 1, data, app, client, 4.5, 'BK1')",
             "CreateProductionOrderFromJobLn3TR('J1', 2, 1, data, app, client, 0, '')",
             "CreateProcessOrderFromJobMethodLevel2TR('J1', 2, 3, 4, 0, data, app, client, 0)",
             "CreateProcessOrderFromJobMethodLevel2TR('J1', 2, 3, 4, 1, data, app, client, 0)"}));
}

KZ8_INSTANTIATE_DB_TEST(BracketsTest);

}  // namespace
}  // namespace kz8test
