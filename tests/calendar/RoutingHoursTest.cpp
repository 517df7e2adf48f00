// Working hours one unit of a product takes along its routing.
#include "Plant.h"

namespace kz8test {
namespace {

using kz8mrp::Error;
using kz8mrp::db::Value;

class RoutingHoursTest : public PlantTest {
 protected:
  void SetUp() override {
    PlantTest::SetUp();
    // Two days of 8 hours by three men, then a day of 4 hours by nobody named.
    RoutingStep("P1", 1, 2, 8, 3);
    RoutingStep("P1", 2, 1, 4, 0);
    Insert("KZ8TProduct2", {{"TPd2TPdtCode", "P1"}, {"TPd2TotalQuantity", 10}});
  }
  void RoutingStep(const std::string& product, int step, Value days, Value hours_per_day, int men) {
    Insert("KZ8TProductMethod", {{"TSpdTPdtCode", product},
                                 {"TSpdStep", step},
                                 {"TSpdEstimateDay", std::move(days)},
                                 {"TSpdHourPerDay", std::move(hours_per_day)},
                                 {"TSpdMan", men}});
  }
  double PerUnit(const std::string& product, kz8mrp::Integer from_step = 0, bool full_down = true) {
    return engine_.GETBOMHourPerUnit(product, from_step, *data_, full_down);
  }
};

TEST_P(RoutingHoursTest, ManpowerModes) {
  EXPECT_DOUBLE_EQ(PerUnit("P1"), 2);  // (16 + 4) / 10, no setting
  Setting("GetBOMHourMultiplyMan", "1");
  EXPECT_DOUBLE_EQ(PerUnit("P1"), 5.2);  // (16 x 3 + 4 x 1) / 10
  Setting("GetBOMHourMultiplyMan", "2");
  EXPECT_DOUBLE_EQ(PerUnit("P1"), 6);  // 20 x (3 + 0) / 10
  Setting("GetBOMHourMultiplyMan", "7");
  EXPECT_DOUBLE_EQ(PerUnit("P1"), 2);

  Setting("GetBOMHourMultiplyMan", "2");
  RoutingStep("P2", 1, 2, 8, 0);
  RoutingStep("P2", 2, 1, 4, 0);
  EXPECT_DOUBLE_EQ(PerUnit("P2"), 20);  // no men named: counts as one, and no lot size
}

TEST_P(RoutingHoursTest, WithoutAPositiveLotSizeTheTotalIsNotDivided) {
  Exec("UPDATE KZ8TProduct2 SET TPd2TotalQuantity=0");
  EXPECT_DOUBLE_EQ(PerUnit("P1"), 20);
  Exec("UPDATE KZ8TProduct2 SET TPd2TotalQuantity=-5");
  EXPECT_DOUBLE_EQ(PerUnit("P1"), 20);
  Exec("DELETE FROM KZ8TProduct2");
  EXPECT_DOUBLE_EQ(PerUnit("P1"), 20);
  EXPECT_DOUBLE_EQ(PerUnit("NO-ROUTING"), 0);
}

TEST_P(RoutingHoursTest, StepSelection) {
  RoutingStep("P1", 0, 1, 10, 0);
  RoutingStep("P1", 3, 5, 8, 0);
  EXPECT_DOUBLE_EQ(PerUnit("P1", 2, false), 0.4);  // step 2 alone
  EXPECT_DOUBLE_EQ(PerUnit("P1", 2, true), 3);     // steps 0 to 2
  EXPECT_DOUBLE_EQ(PerUnit("P1", 0, false), 7);    // every step
  EXPECT_DOUBLE_EQ(PerUnit("P1", -1, false), 7);
  EXPECT_DOUBLE_EQ(PerUnit("P1' OR '1'='1"), 0);
}

TEST_P(RoutingHoursTest, ReadsOnlyCommittedRoutings) {
  data_->BeginTrans();
  data_->ExecuteSQL("UPDATE KZ8TProductMethod SET TSpdHourPerDay=100");
  EXPECT_DOUBLE_EQ(PerUnit("P1"), 2);
  data_->RollbackTrans();
}

TEST_P(RoutingHoursTest, AStepWithoutHoursIsAnError) {
  RoutingStep("P3", 1, Value::Null(), 8, 1);
  EXPECT_THROW(PerUnit("P3"), Error);
  RoutingStep("P4", 1, 1, Value::Null(), 1);
  EXPECT_THROW(PerUnit("P4"), Error);
}

KZ8_INSTANTIATE_DB_TEST(RoutingHoursTest);

}  // namespace
}  // namespace kz8test
