#include "component/Internals.h"
#include "component/Recorder.h"

#include <gtest/gtest.h>

namespace kz8test {
namespace {

using Calls = std::vector<std::string>;

// Entry points only pass values on: a session nobody may open shows that they
// touch no database.
class ChainsTest : public ::testing::Test {
 protected:
  AppObj app_;
  ClientObj client_{"planner", "PLN", "HQ"};
  RecordingDataObj data_{"/nonexistent-kz8mrp-dir/never.db", app_, client_};
  Recorder recorder_{data_, app_, client_};
  MRPObject& engine_ = recorder_;
  const OleDate start_ = OleDate::FromParts(2027, 1, 4, 8);

  void ExpectNoSessionUse() {
    EXPECT_EQ(data_.touches, 0);
    EXPECT_TRUE(data_.calls.empty());
  }
};

TEST_F(ChainsTest, GetEndDateTimeFillsInTheStartAndOfficeHours) {
  Integer setup = 5;
  EXPECT_EQ(engine_.GetEndDateTime(start_, 2, data_, app_, client_), recorder_.date_result);
  EXPECT_EQ(engine_.GetEndDateTime(start_, 2.5, data_, app_, client_, false, true, false, setup),
            recorder_.date_result);
  EXPECT_EQ(recorder_.calls,
            (Calls{"GetEndDateTime2(2027-01-04 08:00:00, 2027-01-04 08:00:00, 2, '', data, app, "
                   "client, True, True, True, 0, HourType 0)",
                   "GetEndDateTime3(2027-01-04 08:00:00, 2027-01-04 08:00:00, 2, '', data, app, "
                   "client, True, True, True, 0, HourType 0, '', 0)",
                   "GetEndDateTime2(2027-01-04 08:00:00, 2027-01-04 08:00:00, 2.5, '', data, app, "
                   "client, False, True, False, 5, HourType 0)",
                   "GetEndDateTime3(2027-01-04 08:00:00, 2027-01-04 08:00:00, 2.5, '', data, "
                   "app, client, False, True, False, 5, HourType 0, '', 0)"}));
  // SetupTime is passed on by reference: what the working variant writes reaches the caller.
  EXPECT_EQ(setup, 45);
  ExpectNoSessionUse();
}

TEST_F(ChainsTest, GetStartDateTimeFillsInTheEndAndOfficeHours) {
  Integer setup = 0;
  const OleDate lasted = start_.AddDays(-3);
  engine_.GetStartDateTime(start_, 4, data_, app_, client_, true, false, true, setup);
  engine_.GetStartDateTime2(start_, lasted, 1.5, "CUT", data_, app_, client_, true, true, true,
                            setup, KZ8HourTypeFullDay);
  EXPECT_EQ(recorder_.calls,
            (Calls{"GetStartDateTime2(2027-01-04 08:00:00, 2027-01-04 08:00:00, 4, '', data, "
                   "app, client, True, False, True, 0, HourType 0)",
                   "GetStartDateTime3(2027-01-04 08:00:00, 2027-01-04 08:00:00, 4, '', data, "
                   "app, client, True, False, True, 0, HourType 0, '', 0)",
                   "GetStartDateTime2(2027-01-04 08:00:00, 2027-01-01 08:00:00, 1.5, 'CUT', data, "
                   "app, client, True, True, True, 45, HourType 4)",
                   "GetStartDateTime3(2027-01-04 08:00:00, 2027-01-01 08:00:00, 1.5, 'CUT', data, "
                   "app, client, True, True, True, 45, HourType 4, '', 0)"}));
  ExpectNoSessionUse();
}

TEST_F(ChainsTest, AdjustJobAndFormulaSetFillInTheirValues) {
  EXPECT_EQ(engine_.AdjustJOBTR("PD-1", true, data_, app_, client_), 7);
  EXPECT_EQ(engine_.SelectFormulaSet("FG", data_), recorder_.text_result);
  EXPECT_EQ(recorder_.calls, (Calls{"AdjustJOB2TR('PD-1', '', True, data, app, client)",
                                    "SelectFormula('FG', data, True, True)"}));
  ExpectNoSessionUse();
}

TEST_F(ChainsTest, BulkOrderChainsFillInDescriptionAndBook) {
  const OleDate end = start_.AddDays(5);
  EXPECT_EQ(
      engine_.CreateProcessBulkOrder2TR("P1", 12.5, true, start_, end, 1, data_, app_, client_),
      recorder_.text_result);
  EXPECT_EQ(recorder_.calls,
            (Calls{"CreateProcessBulkOrder3TR('P1', 12.5, True, 2027-01-04 08:00:00, 2027-01-09 "
                   "08:00:00, 1, data, app, client, '')",
                   "CreateProcessBulkOrder4TR('P1', 12.5, True, 2027-01-04 08:00:00, 2027-01-09 "
                   "08:00:00, 1, data, app, client, '', '')"}));
  ExpectNoSessionUse();
}

// GenerateMRP's ToDate is only read; each level passes UseThisBalanceFG on by
// reference, and the mode handed to GenerateMRP4 is a copy.
TEST_F(ChainsTest, MrpChainPassesBalanceChoicesOn) {
  const OleDate from = OleDate::FromParts(2027, 1, 1);
  OleDate to = OleDate::FromParts(2027, 3, 31);
  EXPECT_EQ(engine_.GenerateMRP(data_, "P1", from, to), 3);
  EXPECT_EQ(to, OleDate::FromParts(2027, 3, 31));
  bool use_balance = true;
  EXPECT_EQ(engine_.GenerateMRP3(data_, "P1", from, to, use_balance, 40, false), 3);
  EXPECT_TRUE(use_balance);  // GenerateMRP4 cleared its mode, not this flag
  use_balance = false;
  engine_.GenerateMRP2(data_, "P1", from, to, use_balance, 2.5);
  EXPECT_EQ(recorder_.calls,
            (Calls{"GenerateMRP2(data, 'P1', 2027-01-01 00:00:00, 2027-03-31 00:00:00, False, 0)",
                   "GenerateMRP3(data, 'P1', 2027-01-01 00:00:00, 2027-03-31 00:00:00, False, 0, "
                   "True)",
                   "GenerateMRP4(data, 'P1', 2027-01-01 00:00:00, 2027-03-31 00:00:00, 0, 0, True)",
                   "GenerateMRP3(data, 'P1', 2027-01-01 00:00:00, 2027-03-31 00:00:00, True, 40, "
                   "False)",
                   "GenerateMRP4(data, 'P1', 2027-01-01 00:00:00, 2027-03-31 00:00:00, 2, 40, "
                   "False)",
                   "GenerateMRP2(data, 'P1', 2027-01-01 00:00:00, 2027-03-31 00:00:00, False, 2.5)",
                   "GenerateMRP3(data, 'P1', 2027-01-01 00:00:00, 2027-03-31 00:00:00, False, "
                   "2.5, True)",
                   "GenerateMRP4(data, 'P1', 2027-01-01 00:00:00, 2027-03-31 00:00:00, 0, 2.5, "
                   "True)"}));
  ExpectNoSessionUse();
}

// The six methods that do nothing accept anything and touch nothing.
TEST_F(ChainsTest, DoNothingMethodsTouchNothing) {
  EXPECT_EQ(engine_.GETProductionTime("P1", start_, 1, 2, 3), 0);
  EXPECT_EQ(engine_.GETProductionTime("", OleDate(-700000.0)), 0);
  EXPECT_EQ(engine_.CreateJOBfromSOTR("SO-1", data_, app_, client_), "");
  EXPECT_EQ(engine_.CreateProcessBulkOrderTR("P1", -1, true, data_, app_, client_), "");
  EXPECT_EQ(engine_.CreateProductionOrderFromJobListTR("J1,J2", 1, data_, app_, client_), "");
  EXPECT_EQ(engine_.CreateProcessOrderFromJobMethodLevelListTR("x", 0, data_, app_, client_), "");
  EXPECT_EQ(engine_.GenerateSF(data_, "P1", "AR", 2027, 13, 40), 1);
  EXPECT_TRUE(recorder_.calls.empty());  // GenerateSF does not reach GenerateSF2
  ExpectNoSessionUse();
  EXPECT_EQ(MRPObjectInternals::ServiceObjectsCreated(engine_), 0);
}

// The TR chains take the default production book from the settings, read in
// the caller's transaction; the bracketing chain passes an empty book.
class BookChainsTest : public RecordedDbTest {
 protected:
  void SetUp() override {
    RecordedDbTest::SetUp();
    Setting("MRPDEFAULTPRODUCTIONBOOK", "BK1");
  }
};

TEST_P(BookChainsTest, TrChainsReadTheDefaultBook) {
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
  EXPECT_EQ(
      calls(),
      (Calls{"CreateProductionOrderFromJobLn2TR('J1', 2, 1, data, app, client, 0)",
             "CreateProductionOrderFromJobLn3TR('J1', 2, 1, data, app, client, 0, 'BK2')",
             "CreateProductionBulkOrder2TR('P1', 3, False, 2027-01-04 00:00:00, 2027-01-04 "
             "00:00:00, 0, data, app, client, '')",
             "CreateProductionBulkOrder3TR('P1', 3, False, 2027-01-04 00:00:00, 2027-01-04 "
             "00:00:00, 0, data, app, client, '', 'BK2')",
             "CreateProductionOrderFromJobLn2TR('J1', 2, 1, data, app, client, 4.5)",
             "CreateProductionOrderFromJobLn3TR('J1', 2, 1, data, app, client, 4.5, 'BK1')"}));
  EXPECT_TRUE(data().calls == (Calls{"BeginTrans", "RollbackTrans"}));
}

TEST_P(BookChainsTest, BracketingChainsPassAnEmptyBookAndNoQuantity) {
  engine().CreateProductionOrderFromJobLn("J1", 2, 1, data(), app_, client_);
  engine().CreateProcessOrderFromJobMethodLevel("J1", 2, 3, 4, 0, data(), app_, client_);
  engine().CreateProcessOrderFromJobMethodLevelTR("J1", 2, 3, 4, 1, data(), app_, client_);
  EXPECT_EQ(calls(),
            (Calls{"CreateProductionOrderFromJobLn2('J1', 2, 1, data, app, client, 0)",
                   "CreateProductionOrderFromJobLn3('J1', 2, 1, data, app, client, 0, '')",
                   "CreateProductionOrderFromJobLn3TR('J1', 2, 1, data, app, client, 0, '')",
                   "CreateProcessOrderFromJobMethodLevel2('J1', 2, 3, 4, 0, data, app, client, 0)",
                   "CreateProcessOrderFromJobMethodLevel2TR('J1', 2, 3, 4, 0, data, app, client, "
                   "0)",
                   "CreateProcessOrderFromJobMethodLevel2TR('J1', 2, 3, 4, 1, data, app, client, "
                   "0)"}));
  EXPECT_EQ(MRPObjectInternals::ServiceObjectsCreated(engine()), 0);
}

// Service objects are made on first use, one of each, kept for the engine's life.
TEST_P(BookChainsTest, ServiceObjectsAreCreatedOnFirstUseAndReused) {
  EXPECT_EQ(MRPObjectInternals::ServiceObjectsCreated(engine()), 0);
  engine().CreateProductionOrderFromJobLnTR("J1", 2, 1, data(), app_, client_);
  EXPECT_EQ(MRPObjectInternals::ServiceObjectsCreated(engine()), 1);
  const void* settings = MRPObjectInternals::SettingToolsAddress(engine());
  ASSERT_NE(settings, nullptr);
  engine().CreateProductionBulkOrderTR("P1", 3, false, OleDate(), OleDate(), 0, data(), app_,
                                       client_);
  EXPECT_EQ(MRPObjectInternals::SettingToolsAddress(engine()), settings);
  EXPECT_EQ(MRPObjectInternals::ServiceObjectsCreated(engine()), 1);

  engine().isMRPHoliday(OleDate::FromParts(2027, 1, 1), "", data());  // converts and queries
  EXPECT_EQ(MRPObjectInternals::ServiceObjectsCreated(engine()), 3);
  const void* db_tools = MRPObjectInternals::DbToolsAddress(engine());
  engine().GETHourPerDay(KZ8HourTypeOffice, "NONE", data());
  EXPECT_EQ(MRPObjectInternals::DbToolsAddress(engine()), db_tools);
  EXPECT_EQ(MRPObjectInternals::SettingToolsAddress(engine()), settings);
  EXPECT_EQ(MRPObjectInternals::ServiceObjectsCreated(engine()), 3);
}

KZ8_INSTANTIATE_DB_TEST(BookChainsTest);

}  // namespace
}  // namespace kz8test
