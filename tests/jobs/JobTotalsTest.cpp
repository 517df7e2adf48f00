// Job quantity totals recomputed from the production orders that name a job.
#include "jobs/JobFixture.h"

namespace kz8test {
namespace {

class JobTotalsTest : public JobTest {
 protected:
  std::string Line(const std::string& job, int ln, const std::string& column) {
    return Scalar("SELECT " + column + " FROM KZ8TJobMB WHERE TJbMTJobNo='" + job +
                  "' AND TJbMLn=" + std::to_string(ln));
  }
  std::string Header(const std::string& job, const std::string& column) {
    return Scalar("SELECT " + column + " FROM KZ8TJob WHERE TJobNo='" + job + "'");
  }
};

TEST_P(JobTotalsTest, LineCountsOpenOrdersOfItsOwnProductInEveryUnit) {
  Job("J1");
  JobLine("J1", 1, "TBL", 100);
  ProductionOrder({"P1", "J1", 1, "TBL", 30});
  ProductionOrder({"P2", "J1", 1, "TBL", 20, /*approved=*/0});
  ProductionOrder({"P3", "J1", 1, "TBL", 40, 1, /*cancelled=*/1});
  ProductionOrder({"P4", "J1", 1, "LEG", 15});  // a part, not the line's product
  ProductionOrder({"P5", "J1", 2, "TBL", 7});   // another line

  EXPECT_EQ(AdjustJob("J1"), 1);

  EXPECT_EQ(Line("J1", 1, "TJbMTotalRequest"), "50");
  EXPECT_EQ(Line("J1", 1, "TJbMTotalArrear"), "50");
  EXPECT_EQ(Line("J1", 1, "TJbMTotalRequest2"), "100");
  EXPECT_EQ(Line("J1", 1, "TJbMTotalArrear2"), "100");
  EXPECT_EQ(Line("J1", 1, "TJbMTotalRequest3"), "150");
  EXPECT_EQ(Line("J1", 1, "TJbMTotalArrear3"), "150");
}

TEST_P(JobTotalsTest, PercentOrderModeOneCountsOrdersOfEveryProduct) {
  Job("J1");
  JobLine("J1", 1, "TBL", 100);
  ProductionOrder({"P1", "J1", 1, "TBL", 30});
  ProductionOrder({"P4", "J1", 1, "LEG", 15});
  RoutingStep("J1", 1, 1, "CUT", "LEG", 1);
  OrderStep("P4", 1, 1, "CUT");

  Setting("MRPPercentOrderMode", "2");
  AdjustJob("J1");
  EXPECT_EQ(Line("J1", 1, "TJbMTotalRequest"), "30");
  EXPECT_EQ(Scalar("SELECT TJStProcessStatus FROM KZ8TJobMethod"), "0");

  Setting("MRPPercentOrderMode", "1");
  AdjustJob("J1");
  EXPECT_EQ(Line("J1", 1, "TJbMTotalRequest"), "45");
  EXPECT_EQ(Line("J1", 1, "TJbMTotalArrear"), "55");
  EXPECT_EQ(Scalar("SELECT TJStProcessStatus FROM KZ8TJobMethod"), "1");
  EXPECT_EQ(Scalar("SELECT TJStTJPDNo FROM KZ8TJobMethod"), "P4");
}

TEST_P(JobTotalsTest, HeaderCountsStockPartsAndApprovedOrdersOnly) {
  Job("J1");
  JobLine("J1", 1, "TBL", 100, /*use_stock=*/10);
  JobLine("J1", 2, "CHR", 50);
  ProductionOrder({"P1", "J1", 1, "TBL", 60});
  ProductionOrder({"P2", "J1", 1, "TBL", 40, /*approved=*/0});
  ProductionOrder({"P3", "J1", 2, "CHR", 25, 1, /*cancelled=*/1});

  AdjustJob("J1");

  EXPECT_EQ(Header("J1", "TJobTotalRequest"), "70");
  EXPECT_EQ(Header("J1", "TJobTotalArrear"), "80");
  EXPECT_EQ(Header("J1", "TJobTotalRequest2"), "140");
  EXPECT_EQ(Header("J1", "TJobTotalArrear2"), "160");
  EXPECT_EQ(Header("J1", "TJobTotalRequest3"), "210");
  EXPECT_EQ(Header("J1", "TJobTotalArrear3"), "240");
  // The line counts the unapproved order too, and leaves its stock part out.
  EXPECT_EQ(Line("J1", 1, "TJbMTotalRequest"), "100");
  EXPECT_EQ(Line("J1", 1, "TJbMTotalArrear"), "-10");
  EXPECT_EQ(Line("J1", 2, "TJbMTotalRequest"), "0");
  EXPECT_EQ(Line("J1", 2, "TJbMTotalArrear"), "50");
}

TEST_P(JobTotalsTest, OutstandingQuantitiesGoNegativeAndAreNeverClipped) {
  Job("J1");
  JobLine("J1", 1, "TBL", 10);
  ProductionOrder({"P1", "J1", 1, "TBL", 25});
  AdjustJob("J1");
  EXPECT_EQ(Line("J1", 1, "TJbMTotalArrear"), "-15");
  EXPECT_EQ(Header("J1", "TJobTotalArrear"), "-15");
}

// A negative order quantity is spliced as "(-5)": "TJbMUseOrder-" followed by
// it must stay a subtraction and never open a "--" comment that would drop the
// WHERE clause and update every job.
TEST_P(JobTotalsTest, NegativeOrderQuantityUpdatesOnlyItsOwnLine) {
  Job("J1");
  JobLine("J1", 1, "TBL", 100);
  Job("J2");
  JobLine("J2", 1, "TBL", 100);
  JobLine("J2", 2, "TBL", 100);
  ProductionOrder({"P1", "J1", 1, "TBL", -5});

  AdjustJob("J1");

  EXPECT_EQ(Line("J1", 1, "TJbMTotalRequest"), "-5");
  EXPECT_EQ(Line("J1", 1, "TJbMTotalArrear"), "105");
  EXPECT_EQ(Header("J1", "TJobTotalRequest"), "-5");
  EXPECT_EQ(Header("J1", "TJobTotalArrear"), "105");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TJobMB WHERE TJbMTotalRequest IS NOT NULL"), "1");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TJob WHERE TJobTotalRequest IS NOT NULL"), "1");
}

TEST_P(JobTotalsTest, CodesWithQuotesAndDashesTouchOnlyTheirOwnRows) {
  const std::string job = "J'1--x";
  const std::string product = "TBL' OR '1'='1";
  Job(job);
  JobLine(job, 1, product, 100);
  RoutingStep(job, 1, 1, "CUT'--", product, 1);
  ProductionOrder({"P'1", job, 1, product, 30});
  OrderStep("P'1", 1, 1, "CUT'--");
  Job("J");
  JobLine("J", 1, "TBL", 100);
  RoutingStep("J", 1, 1, "CUT", "TBL", 1);

  AdjustJob(job);
  AdjustJob(job);  // a recomputation: the second run changes nothing

  EXPECT_EQ(Scalar("SELECT TJbMTotalArrear FROM KZ8TJobMB WHERE TJbMTJobNo='J''1--x'"), "70");
  EXPECT_EQ(Scalar("SELECT TJobTotalRequest FROM KZ8TJob WHERE TJobNo='J''1--x'"), "30");
  EXPECT_EQ(Scalar("SELECT TJStTJPDNo FROM KZ8TJobMethod WHERE TJStTJbMTJobNo='J''1--x'"), "P'1");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TJobMB WHERE TJbMTotalArrear IS NOT NULL"), "1");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TJob WHERE TJobTotalRequest IS NOT NULL"), "1");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TJobMethod WHERE TJStProcessStatus=1"), "1");
}

TEST_P(JobTotalsTest, OrdersMarkTheRoutingStepsTheyCoverAndTheMarkStays) {
  Job("J1");
  JobLine("J1", 1, "TBL", 100);
  RoutingStep("J1", 1, 1, "CUT", "TBL", 1);
  RoutingStep("J1", 1, 2, "ASM", "TBL", 2);
  RoutingStep("J1", 1, 3, "PNT", "TBL", 3);
  ProductionOrder({"P1", "J1", 1, "TBL", 30});
  OrderStep("P1", 1, 1, "CUT");
  OrderStep("P1", 2, 2, "ASM");
  ProductionOrder({"P2", "J1", 1, "TBL", 30, 1, /*cancelled=*/1});
  OrderStep("P2", 1, 3, "PNT");
  const std::string marks =
      "SELECT TJStTSepCode || ':' || COALESCE(TJStTJPDNo,'-') || ':' || TJStProcessStatus "
      "FROM KZ8TJobMethod WHERE TJStTSpdStep=";

  AdjustJob("J1");
  EXPECT_EQ(Scalar(marks + "1"), "CUT:P1:1");
  EXPECT_EQ(Scalar(marks + "2"), "ASM:P1:1");
  EXPECT_EQ(Scalar(marks + "3"), "PNT:-:0");

  // Cancelling the order later does not take the mark back.
  Exec("UPDATE KZ8TJobProduction SET TJPdCancelStatus=1 WHERE TJPdNo='P1'");
  AdjustJob("J1");
  EXPECT_EQ(Scalar(marks + "1"), "CUT:P1:1");
  EXPECT_EQ(Line("J1", 1, "TJbMTotalRequest"), "0");
}

TEST_P(JobTotalsTest, ProductionOrderNamesTheJobToRecompute) {
  Job("J1");
  JobLine("J1", 1, "TBL", 100);
  Job("J2");
  JobLine("J2", 1, "TBL", 100);
  ProductionOrder({"P1", "J2", 1, "TBL", 30});

  EXPECT_EQ(InTransaction([&] { return engine_.AdjustJOBTR("P1", true, *data_, app_, client_); }),
            1);
  EXPECT_EQ(Line("J2", 1, "TJbMTotalArrear"), "70");
  EXPECT_EQ(Line("J1", 1, "TJbMTotalArrear"), "");  // untouched
}

TEST_P(JobTotalsTest, JobWithoutLinesGetsZeroTotals) {
  Job("J1", {{"TJobTotalRequest", 5}, {"TJobTotalArrear", 5}});
  AdjustJob("J1");
  EXPECT_EQ(Header("J1", "TJobTotalRequest"), "0");
  EXPECT_EQ(Header("J1", "TJobTotalArrear"), "0");
}

KZ8_INSTANTIATE_DB_TEST(JobTotalsTest);

}  // namespace
}  // namespace kz8test
