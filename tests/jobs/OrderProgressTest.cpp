// Resetting a production order's progress and posting its receipts again.
#include "jobs/JobFixture.h"

namespace kz8test {
namespace {

class OrderProgressTest : public JobTest {
 protected:
  void Receipt(const std::string& no, const std::string& order, const std::string& kind,
               int approved = 1, int cancelled = 0) {
    Insert("KZ8TInventory", {{"TInvNo", no},
                             {"TInvDate", "2027-01-03"},
                             {"TInvTInTAlias", kind},
                             {"TInvTJPDNo", order},
                             {"TinvApproveStatus", approved},
                             {"TinvCancelStatus", cancelled}});
    Insert("KZ8TInventoryMB", {{"TIvbTInvNo", no},
                               {"TIvbLn", 1},
                               {"TIvbTPdtCode", "TBL"},
                               {"TIvbStockKind", "FG"},
                               {"TIvbQuantity", 10}});
  }
  kz8mrp::Integer Reset(const std::string& order) {
    return InTransaction(
        [&] { return engine_.AdjustJOBProductionTR("", order, true, *data_, app_, client_); });
  }
  std::string Step(const std::string& order, int ln, const std::string& column) {
    return Scalar("SELECT " + column + " FROM KZ8TJobProductionM WHERE TJPMTJPdNo='" + order +
                  "' AND TJPMLn=" + std::to_string(ln));
  }
};

TEST_P(OrderProgressTest, StepsAreOutstandingAgainAndPercentagesNeedARequest) {
  const Row progress = {{"TJPMRequest", 200},  {"TJPMRequest2", 400},  {"TJPMRequest3", 600},
                        {"TJPMArrear", 20},    {"TJPMArrear2", 40},    {"TJPMArrear3", 60},
                        {"TJPMFinishQT", 180}, {"TJPMFinishQT2", 360}, {"TJPMFinishQT3", 540},
                        {"TJPMFinishPC", 90},  {"TJPMLoss", 10},       {"TJPMLossPC", 3}};
  OrderStep("P1", 1, 1, "CUT", progress);
  OrderStep("P1", 2, 2, "ASM",
            {{"TJPMRequest", 0}, {"TJPMFinishQT", 4}, {"TJPMFinishPC", 33}, {"TJPMLossPC", 7}});
  OrderStep("P2", 1, 1, "CUT", progress);

  EXPECT_EQ(Reset("P1"), 0);

  EXPECT_EQ(Step("P1", 1, "TJPMArrear"), "200");
  EXPECT_EQ(Step("P1", 1, "TJPMArrear2"), "400");
  EXPECT_EQ(Step("P1", 1, "TJPMArrear3"), "600");
  EXPECT_EQ(Step("P1", 1, "TJPMFinishQT + TJPMFinishQT2 + TJPMFinishQT3"), "0");
  EXPECT_EQ(Step("P1", 1, "TJPMFinishPC"), "0");
  EXPECT_EQ(Step("P1", 1, "TJPMLossPC"), "5");
  // No request: quantities reset, the old percentages stay.
  EXPECT_EQ(Step("P1", 2, "TJPMFinishQT"), "0");
  EXPECT_EQ(Step("P1", 2, "TJPMFinishPC"), "33");
  EXPECT_EQ(Step("P1", 2, "TJPMLossPC"), "7");
  // Another order keeps its progress.
  EXPECT_EQ(Step("P2", 1, "TJPMFinishQT"), "180");
}

TEST_P(OrderProgressTest, PostsAgainOnlyTheOrdersApprovedFinishedGoodsReceipts) {
  Receipt("R1", "P1", "RECEIVEFGBUILT");
  Receipt("R2", "P1", "RECEIVEFGBUILTOUT");
  Receipt("R3", "P1", "RECEIVEFGBUILTNOMRP");
  Receipt("R4", "P1", "RECEIVEFGBUILT", /*approved=*/0);
  Receipt("R5", "P1", "RECEIVEFGBUILT", 1, /*cancelled=*/1);
  Receipt("R6", "P1", "ISSUERM");
  Receipt("R7", "P2", "RECEIVEFGBUILT");

  Reset("P1");

  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TStockCard"), "3");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TStockCard WHERE TStcTInvNo IN ('R1','R2','R3')"), "3");
}

TEST_P(OrderProgressTest, OrderNumberWithQuoteResetsOnlyItsOwnSteps) {
  OrderStep("P'1--", 1, 1, "CUT", {{"TJPMRequest", 10}, {"TJPMFinishQT", 10}});
  OrderStep("P", 1, 1, "CUT", {{"TJPMRequest", 10}, {"TJPMFinishQT", 10}});
  Receipt("R'1", "P'1--", "RECEIVEFGBUILT");

  Reset("P'1--");

  EXPECT_EQ(Step("P''1--", 1, "TJPMFinishQT"), "0");
  EXPECT_EQ(Step("P", 1, "TJPMFinishQT"), "10");
  EXPECT_EQ(Scalar("SELECT TStcTInvNo FROM KZ8TStockCard"), "R'1");
}

KZ8_INSTANTIATE_DB_TEST(OrderProgressTest);

}  // namespace
}  // namespace kz8test
