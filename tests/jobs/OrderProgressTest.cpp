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
};

TEST_P(OrderProgressTest, StepsAreOutstandingAgainAndPercentagesNeedARequest) {
  const Row progress = {{"TJPMRequest", 200}, {"TJPMRequest3", 600}, {"TJPMArrear", 20},
                        {"TJPMArrear3", 60},  {"TJPMFinishQT", 180}, {"TJPMFinishQT3", 540},
                        {"TJPMFinishPC", 90}, {"TJPMLoss", 10},      {"TJPMLossPC", 3}};
  OrderStep("P'1", 1, 1, "CUT", progress);
  OrderStep("P'1", 2, 2, "ASM",
            {{"TJPMRequest", 0}, {"TJPMFinishQT", 4}, {"TJPMFinishPC", 33}, {"TJPMLossPC", 7}});
  OrderStep("P2", 1, 1, "CUT", progress);
  const std::string step =
      "SELECT TJPMArrear, TJPMArrear3, TJPMFinishQT, TJPMFinishQT3, TJPMFinishPC, TJPMLossPC "
      "FROM KZ8TJobProductionM WHERE TJPMTJPdNo=";

  EXPECT_EQ(Reset("P'1"), 0);

  EXPECT_EQ(Values(step + "'P''1' AND TJPMLn=1"), "200|600|0|0|0|5");
  EXPECT_EQ(Values(step + "'P''1' AND TJPMLn=2"), "0|null|0|0|33|7");  // no request: kept
  EXPECT_EQ(Values(step + "'P2'"), "20|60|180|540|90|3");              // another order
}

TEST_P(OrderProgressTest, PostsAgainOnlyTheOrdersApprovedFinishedGoodsReceipts) {
  Receipt("R1", "P'1", "RECEIVEFGBUILT");
  Receipt("R2", "P'1", "RECEIVEFGBUILTOUT");
  Receipt("R3", "P'1", "RECEIVEFGBUILTNOMRP");
  Receipt("R4", "P'1", "RECEIVEFGBUILT", /*approved=*/0);
  Receipt("R5", "P'1", "RECEIVEFGBUILT", 1, /*cancelled=*/1);
  Receipt("R6", "P'1", "ISSUERM");
  Receipt("R7", "P2", "RECEIVEFGBUILT");

  Reset("P'1");

  const auto posted = Query("SELECT TStcTInvNo FROM KZ8TStockCard ORDER BY TStcTInvNo");
  ASSERT_EQ(posted.rows.size(), 3U);
  EXPECT_EQ(posted.rows[0][0].AsText() + posted.rows[1][0].AsText() + posted.rows[2][0].AsText(),
            "R1R2R3");
}

KZ8_INSTANTIATE_DB_TEST(OrderProgressTest);

}  // namespace
}  // namespace kz8test
