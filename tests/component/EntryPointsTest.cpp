#include "component/Internals.h"
#include "component/Recorder.h"

namespace kz8test {
namespace {

// Entry points only pass values on: a session on a database that is not there
// fails whatever reaches it, and notes any bracket call.
class ChainsTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_TRUE(data_.calls.empty()); }
  AppObj app_;
  ClientObj client_{"planner", "PLN", "HQ"};
  WatchedData data_{"/nonexistent-kz8mrp-dir/never.db", app_, client_};
  Recorder recorder_{data_, app_, client_};
  MRPObject& engine_ = recorder_;
  const OleDate start_ = OleDate::FromParts(2027, 1, 4, 8);
};

// Each entry point fills in its values and passes the rest on. The stepping
// chains make the given time the bound and hand SetupTime on by reference, so
// what the working variant writes reaches the caller; GenerateMRP only reads
// its ToDate, and its balance flag becomes a mode of 2 or 0, handed on as a
// copy the working variant may change.
TEST_F(ChainsTest, EntryPointsFillInTheirValuesAndPassTheRestOn) {
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
TEST_F(ChainsTest, DoNothingMethodsTouchNothing) {
  EXPECT_EQ(engine_.GETProductionTime("P1", start_, 1, 2, 3), 0);
  EXPECT_EQ(engine_.CreateJOBfromSOTR("SO-1", data_, app_, client_), "");
  EXPECT_EQ(engine_.CreateProcessBulkOrderTR("P1", -1, true, data_, app_, client_), "");
  EXPECT_EQ(engine_.CreateProductionOrderFromJobListTR("J1,J2", 1, data_, app_, client_), "");
  EXPECT_EQ(engine_.CreateProcessOrderFromJobMethodLevelListTR("x", 0, data_, app_, client_), "");
  EXPECT_EQ(engine_.GenerateSF(data_, "P1", "AR", 2027, 13, 40), 1);
  EXPECT_TRUE(recorder_.calls.empty());  // nor did GenerateSF reach GenerateSF2: it would raise
  EXPECT_EQ(MRPObjectInternals::ServiceObjectsCreated(engine_), 0);
}

// The TR chains take the default production book from the settings, read in
// the caller's transaction; the bracketing chains pass an empty book.
class BookChainsTest : public RecordedDbTest {};

TEST_P(BookChainsTest, TrChainsReadTheDefaultBookBracketingChainsPassNone) {
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
      calls(),
      (Calls{"CreateProductionOrderFromJobLn3TR('J1', 2, 1, data, app, client, 0, 'BK2')",
             // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one call's line is long
             "CreateProductionBulkOrder3TR('P1', 3, False, 2027-01-04 00:00:00, 2027-01-04 "
             "00:00:00, 0, data, app, client, '', 'BK2')",
             "CreateProductionOrderFromJobLn3TR('J1', 2, 1, data, app, client, 4.5, 'BK1')",
             "CreateProductionOrderFromJobLn3TR('J1', 2, 1, data, app, client, 0, '')",
             "CreateProcessOrderFromJobMethodLevel2TR('J1', 2, 3, 4, 0, data, app, client, 0)",
             "CreateProcessOrderFromJobMethodLevel2TR('J1', 2, 3, 4, 1, data, app, client, 0)"}));
}

KZ8_INSTANTIATE_DB_TEST(BookChainsTest);

}  // namespace
}  // namespace kz8test
