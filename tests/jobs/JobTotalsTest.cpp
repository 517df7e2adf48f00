// Job quantity totals recomputed from the production orders that name a job,
// and a production order's progress reset with its receipts posted again.
#include "jobs/JobFixture.h"

namespace kz8test {
namespace {

class JobTotalsTest : public JobTest {
 protected:
  // Requested and outstanding in units 1 and 3: the job's, or one line's.
  std::string Totals(const std::string& job, int ln = 0) {
    const std::string p = ln ? "TJbM" : "TJob";
    return Values("SELECT " + p + "TotalRequest, " + p + "TotalArrear, " + p + "TotalRequest3, " +
                  p + "TotalArrear3 FROM " +
                  (ln ? "KZ8TJobMB WHERE TJbMLn=" + std::to_string(ln) + " AND TJbMTJobNo='"
                      : std::string("KZ8TJob WHERE TJobNo='")) +
                  job + "'");
  }
  kz8mrp::Integer Reset(const std::string& order) {
    return InTransaction(
        [&] { return engine_.AdjustJOBProductionTR("", order, true, *data_, app_, client_); });
  }
};

// A line counts its open orders, approved or not; the job counts its lines'
// stock parts and approved open orders. Outstanding figures may go negative.
TEST_P(JobTotalsTest, LinesCountOpenOrdersTheJobCountsStockAndApprovedOnes) {
  Job("J1");
  JobLine("J1", 1, "TBL", 100, /*use_stock=*/10);
  JobLine("J1", 2, "CHR", 50);
  ProductionOrder({"P1", "J1", 1, "TBL", 60});
  ProductionOrder({"P2", "J1", 1, "TBL", 40, /*approved=*/0});
  ProductionOrder({"P3", "J1", 1, "TBL", 25, 1, /*cancelled=*/1});
  ProductionOrder({"P4", "J1", 2, "LEG", 15});  // a part, not the line's product

  EXPECT_EQ(AdjustJob("J1"), 1);

  EXPECT_EQ(Totals("J1", 1), "100|-10|300|-30");
  EXPECT_EQ(Totals("J1", 2), "0|50|0|150");
  // Stock 10, approved orders 60 and 15 (the job counts every product).
  EXPECT_EQ(Totals("J1"), "85|65|255|195");
  AdjustJob("J1");  // a recomputation: running it again changes nothing
  EXPECT_EQ(Totals("J1"), "85|65|255|195");
}

TEST_P(JobTotalsTest, PercentOrderModeOneCountsOrdersOfEveryProduct) {
  Job("J1");
  JobLine("J1", 1, "TBL", 100);
  ProductionOrder({"P1", "J1", 1, "TBL", 30});
  ProductionOrder({"P4", "J1", 1, "LEG", 15});
  RoutingStep("J1", 1, "CUT", "LEG");
  OrderStep("P4", 1, 1, "CUT");
  const std::string mark = "SELECT TJStTJPDNo, TJStProcessStatus FROM KZ8TJobMethod";

  Setting("MRPPercentOrderMode", "2");
  AdjustJob("J1");
  EXPECT_EQ(Totals("J1", 1), "30|70|90|210");
  EXPECT_EQ(Values(mark), "null|0");

  Setting("MRPPercentOrderMode", "1");
  AdjustJob("J1");
  EXPECT_EQ(Totals("J1", 1), "45|55|135|165");
  EXPECT_EQ(Values(mark), "P4|1");
}

// "(-5)" keeps "TJbMUseOrder-" a subtraction: a "--" would comment out the
// WHERE clause and update every job line of the plant.
TEST_P(JobTotalsTest, NegativeQuantitiesQuotedCodesAndOrderNumbersTouchOnlyTheirOwnJob) {
  const std::string job = "J'1--x";
  Job(job);
  JobLine(job, 1, "TBL' OR '1'='1", 100);
  ProductionOrder({"P'1", job, 1, "TBL' OR '1'='1", -5});
  Job("J2");
  JobLine("J2", 1, "TBL", 100);
  ProductionOrder({"P2", "J2", 1, "TBL", 30});

  AdjustJob(job);

  EXPECT_EQ(Totals("J''1--x", 1), "-5|105|-15|315");
  EXPECT_EQ(Totals("J''1--x"), "-5|105|-15|315");
  EXPECT_EQ(Totals("J2", 1) + Totals("J2"), "null|null|null|nullnull|null|null|null");
  // Named by one of its production orders instead, the other job is recomputed alone.
  EXPECT_EQ(InTransaction([&] { return engine_.AdjustJOBTR("P2", true, *data_, app_, client_); }),
            1);
  EXPECT_EQ(Totals("J2", 1), "30|70|90|210");
  EXPECT_EQ(Totals("J''1--x", 1), "-5|105|-15|315");
}

TEST_P(JobTotalsTest, OrdersMarkTheRoutingStepsTheyCoverAndTheMarkStays) {
  Job("J1");
  JobLine("J1", 1, "TBL", 100);
  RoutingStep("J1", 1, "CUT", "TBL");
  RoutingStep("J1", 2, "ASM'--", "TBL");
  RoutingStep("J1", 3, "PNT", "TBL");
  ProductionOrder({"P1", "J1", 1, "TBL", 30});
  OrderStep("P1", 1, 1, "CUT");
  OrderStep("P1", 2, 2, "ASM'--");
  ProductionOrder({"P2", "J1", 1, "TBL", 30, 1, /*cancelled=*/1});
  OrderStep("P2", 1, 3, "PNT");
  const std::string marks = "SELECT TJStTJPDNo, TJStProcessStatus FROM KZ8TJobMethod";

  AdjustJob("J1");
  EXPECT_EQ(Values(marks + " ORDER BY TJStTSpdStep"), "P1|1;P1|1;null|0");

  // The order is cancelled later: its quantity goes, the mark stays.
  Exec("UPDATE KZ8TJobProduction SET TJPdCancelStatus=1 WHERE TJPdNo='P1'");
  AdjustJob("J1");
  EXPECT_EQ(Values(marks + " WHERE TJStTSpdStep=1"), "P1|1");
  EXPECT_EQ(Totals("J1", 1), "0|100|0|300");
}

// Resetting an order makes its steps outstanding again (percentages need a
// request to be recomputed) and posts again only its approved, uncancelled
// finished-goods receipts.
TEST_P(JobTotalsTest, ResetOrderClearsItsStepsAndPostsItsReceiptsAgain) {
  const Row progress = {{"TJPMRequest", 200}, {"TJPMRequest3", 600}, {"TJPMArrear", 20},
                        {"TJPMArrear3", 60},  {"TJPMFinishQT", 180}, {"TJPMFinishQT3", 540},
                        {"TJPMFinishPC", 90}, {"TJPMLoss", 10},      {"TJPMLossPC", 3}};
  OrderStep("P'1", 1, 1, "CUT", progress);
  OrderStep("P'1", 2, 2, "ASM",
            {{"TJPMRequest", 0}, {"TJPMFinishQT", 4}, {"TJPMFinishPC", 33}, {"TJPMLossPC", 7}});
  OrderStep("P2", 1, 1, "CUT", progress);
  // Receipts of P'1: approved ones of the three finished-goods kinds, an
  // unapproved, a cancelled, an issue of materials; and one of P2.
  const kz8mrp::db::Value day = "2027-01-03";
  InsertRows("KZ8TInventory",
             {"TInvNo", "TInvDate", "TInvTInTAlias", "TInvTJPDNo", "TinvApproveStatus",
              "TinvCancelStatus"},
             {{"R1", day, "RECEIVEFGBUILT", "P'1", 1, 0},
              {"R2", day, "RECEIVEFGBUILTOUT", "P'1", 1, 0},
              {"R3", day, "RECEIVEFGBUILTNOMRP", "P'1", 1, 0},
              {"R4", day, "RECEIVEFGBUILT", "P'1", 0, 0},
              {"R5", day, "RECEIVEFGBUILT", "P'1", 1, 1},
              {"R6", day, "ISSUERM", "P'1", 1, 0},
              {"R7", day, "RECEIVEFGBUILT", "P2", 1, 0}});
  for (const char* no : {"R1", "R2", "R3", "R4", "R5", "R6", "R7"}) {
    Insert("KZ8TInventoryMB", {{"TIvbTInvNo", no},
                               {"TIvbLn", 1},
                               {"TIvbTPdtCode", "TBL"},
                               {"TIvbStockKind", "FG"},
                               {"TIvbQuantity", 10}});
  }
  EXPECT_EQ(Reset("P'1"), 0);
  // Line 2 has no request: its percentages are kept; P2 is another order.
  EXPECT_EQ(Values("SELECT TJPMArrear, TJPMArrear3, TJPMFinishQT, TJPMFinishQT3, TJPMFinishPC, "
                   "TJPMLossPC FROM KZ8TJobProductionM ORDER BY TJPMTJPdNo, TJPMLn"),
            "200|600|0|0|0|5;0|null|0|0|33|7;20|60|180|540|90|3");
  EXPECT_EQ(Scalar("SELECT COUNT(*) || '' || COUNT(DISTINCT TStcTInvNo) || MIN(TStcTInvNo) || "
                   "MAX(TStcTInvNo) FROM KZ8TStockCard"),
            "33R1R3");
}

KZ8_INSTANTIATE_DB_TEST(JobTotalsTest);

}  // namespace
}  // namespace kz8test
