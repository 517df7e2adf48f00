// Process orders: for one routing line of a job line, and in bulk for stock
// from the product's master routing, bill of materials and labour list.
#include "production/OrderFixture.h"

namespace kz8test {
namespace {

using kz8mrp::OleDate;
using kz8mrp::String;

class ProcessOrderTest : public OrderTest {
 protected:
  // The remark of the order's creation in the history, under the process event.
  static constexpr const char* kHistory =
      "(SELECT TAplRemark FROM KZ8TApproveLog WHERE TAplDocNo=TJPdNo AND "
      "TAplEvent='MRPJOBCBUILTPROCESS')";
  void SetUp() override {
    OrderTest::SetUp();
    // Cutting is numbered in book B2; a third routing line also makes tables.
    InsertRows("KZ8TMRPStepName", {"TSepCode", "TSepDocCode", "TSepCheckSemiCode", "TSepTAPNCode"},
               {{"CUT", " B2 ", 1, "AP1"}, {"ASM", "", 0, ""}});
    InsertRows(
        "KZ8TJobMethod",
        {"TJStTJbMTJobNo", "TJStTJbMLn", "TJStTSpdStep", "TJStLevel", "TJStLn", "TJStTSepCode",
         "TJStTPdtCode", "TJStQuantity", "TJstPlanStartDate", "TJstPlanEndDate"},
        {{kJob, 1, 3, 1, 4, "ASM", "TBL", 6, "2027-01-01", "2027-01-02"}});
    // The table's master: cut, then assemble; wood per table, labour per table.
    InsertRows(
        "KZ8TProductMethod",
        {"TSpdTPdtCode", "TSpdStep", "TSpdTSepCode", "TSpdCheckClose", "TSpdMan", "TSpdLink1"},
        {{"TBL", 1, "CUT", 1, 2, "L1"}, {"TBL", 2, "ASM", Value(), 3, Value()}});
    InsertRows("KZ8TProductMat",
               {"TPMtTPdtCode", "TPmtLn", "TPMtTSpdStep", "TPMtProductCode", "TPMtQuantity",
                "TPMtQuantity2", "TPMtQuantity3"},
               {{"TBL", 4, 1, "OAK", 0.5, 1, 2}, {"TBL", 9, 2, "GLUE", 0.25, 0.5, 1}});
    InsertRows(
        "KZ8TProductDL",
        {"TPLBTPdtCode", "TPLBLn", "TPLBTSpdStep", "TPLBTEmpCode", "TPLBQuantity", "TPLBCost"},
        {{"TBL", 1, 2, "E1", 2, 40}, {"TBL", 2, 1, "E2", 1, Value()}});
  }

  String FromRouting(const String& job, int line, int level, int method_ln,
                     kz8mrp::Integer approve = 0, double new_quantity = 0) {
    return engine_.CreateProcessOrderFromJobMethodLevel2(job, line, level, method_ln, approve,
                                                         *data_, app_, client_, new_quantity);
  }
  // Steps / materials / labour of an order.
  std::string Lines(const String& no) {
    return OrderRows("KZ8TJobProductionM",
                     "TJPMLn, TJPMLevel, TJPMStep, TJPMTSepCode, TJPMTPdtCode, TJPMQuantity, "
                     "TJPMAmount, TJPMArrear2, TJPMRequest3, TJPMProcessStatus, "
                     "TJPMCheckSemiCode, TJPMCheckClose, TJPMLink1, TJPMMan, TJPMTAPNCode",
                     no) +
           " / " +
           OrderRows("KZ8TJobProdMat",
                     "TMteLn, TMteStep, TMteTSepCode, TMteProductCode, TMteQuantity, "
                     "TMteUseOrder2, TMteTotalDif3, TMteDescription",
                     no) +
           " / " +
           OrderRows("KZ8TJobProdDL",
                     "TJPLLn, TJPLStep, TJPLTSepCode, TJPLTEmpCode, TJPLQuantity, TJPLTotalCost",
                     no);
  }
};

// The order makes the routing line's product at its own quantity (or the
// planner's, on the header only), numbered in its step's book, described by
// the job line with the routing remark beneath it; materials and labour are
// those of that product at that level, whichever routing line they were
// planned on. The span covers the routing line's end and its steps' plans.
TEST_P(ProcessOrderTest, RoutingLineOrderTakesItsStepAndItsProductsMaterialsAndLabour) {
  Exec("UPDATE KZ8TJobMethod SET TJStRemark='saw only' WHERE TJStTJbMLn=2");
  struct Case {
    int line, method_ln;
    kz8mrp::Integer approve;
    double new_quantity;
    const char* header;
    std::string lines;
  };
  const std::string tables = " / 1|1|null|OAK|3|6|null|top / 1|2||E1|0|null;2|1||E2|1.5|null";
  const Case cases[] = {
      {1, 1, 1, 50,
       "PP-B2-2701-00001|TBL|Table|50|0|4|1|planner|Oak|c2|2027-01-03 00:00:00|2027-01-05 "
       "00:00:00|1|Auto Approved.",
       "1|1|1|CUT|TBL|2|2|24|288|1|1|1|L1|null|AP1" + tables},
      {1, 2, 0, 0,
       "PP-B1-2701-00001|NOPE||2|0|4|0|planner|Oak\r\nglue|c2|2027-01-06 00:00:00|2027-01-09 "
       "00:00:00|1|",
       "1|1|2|ASM|NOPE|2|2|0|0|0|0|0||null| / no row / no row"},
      {1, 4, 0, -1,
       "PP-B1-2701-00002|TBL|Table|6|0|4|0|planner|Oak|c2|2027-01-01 00:00:00|2027-01-02 "
       "00:00:00|1|",
       "1|1|3|ASM|TBL|6|6|72|864|0|0|0||null|" + tables},
      {2, 3, 0, 0,
       "PP-B2-2701-00002|TBL|Table|1|0|4|0|planner|saw only||2027-01-03 00:00:00|2027-01-04 "
       "00:00:00|1|",
       "1|1|1|CUT|TBL|1|1|12|144|0|1|1|L1|null|AP1 / no row / no row"},
  };
  for (const Case& c : cases) {
    const String no = FromRouting(kJob, c.line, 1, c.method_ln, c.approve, c.new_quantity);
    EXPECT_EQ(no + "|" +
                  Header(no,
                         "TJPdProductCode, TJPdProductName, TJPdQuantityNet, TJPdQuantity2, "
                         "TJPdStatusOrder, TJPdConfirmStatus, TJPdApproveBy, TJPdDescription, "
                         "TJPDCustom2, TJPdStartPlan, TJPdEndDate, TJPdTotalStep, " +
                             std::string(kHistory)),
              c.header);
    EXPECT_EQ(Lines(no), c.lines) << c.method_ln;
  }
  // Only the approved order counts on the job line's totals.
  EXPECT_EQ(Values("SELECT TJbMTotalRequest FROM KZ8TJobMB WHERE TJbMLn=1 AND TJbMTJobNo='J''1 "
                   "--#$'"),
            "50");
}

// No order for a routing line, a level or a job that is not there, and none
// when the bracketed order fails part-way (here on its second labour row): no
// header, lines, history or number stays behind. Inside the caller's
// transaction the failed TR method leaves the transaction usable.
TEST_P(ProcessOrderTest, NoOrderOrAFailedOneLeavesNothingBehind) {
  const auto inside = [&](const String& job) {
    return engine_.CreateProcessOrderFromJobMethodLevelTR(job, 1, 1, 1, 1, *data_, app_, client_);
  };
  for (const String& no :
       {FromRouting(kJob, 1, 1, 9, 1), FromRouting(kJob, 1, 2, 1, 1),
        FromRouting("J'1 --#$x", 1, 1, 1, 1), InTransaction([&] { return inside("J'1 --"); })}) {
    EXPECT_EQ(no, "");
  }
  EXPECT_EQ(Written(), "0/0/0/0/0/0");

  Exec("CREATE UNIQUE INDEX ux_labour_once ON KZ8TJobProdDL (TJPLTEmpCode)");
  Exec("UPDATE KZ8TJobDL SET TJDLTEmpCode='E1'");
  EXPECT_EQ(FromRouting(kJob, 1, 1, 1, 1), "");
  EXPECT_EQ(Written(), "0/0/0/0/0/0");
  ExpectFailureInsideTransaction([&] { return inside(kJob); });
}

// The bulk order's lines are the product's master rows times the quantity,
// even below 0, while the header never orders less than nothing. The span
// runs from the start to the end when there are steps, else it is the end.
// Every labour row is booked to the first one's step. The book given when it
// exists; one given but unknown falls to the first book, not to the default.
// The batch size flag changes nothing.
TEST_P(ProcessOrderTest, BulkOrderMultipliesTheProductsMasterRows) {
  Setting("DEFAULTPROJECTBULKORDER", "STOCK");
  Setting("MRPDEFAULTPRODUCTIONBOOK", "B2");
  struct Case {
    String product;
    double quantity;
    kz8mrp::Integer approve;
    const char* book;
    bool ignore_batch;
    const char* header;
    const char* lines;
  };
  const char* const ten =
      "1|1|1|CUT|TBL|10|10|120|1440|1|1|1|L1|2|AP1;2|1|2|ASM|TBL|10|10|120|1440|1|0|0||3| / "
      "1|1|CUT|OAK|5|10|20|;2|2|ASM|GLUE|2.5|5|10| / 1|2|ASM|E1|20|800;2|1|ASM|E2|10|null";
  const Case cases[] = {
      {"TBL", 10, 1, "", false,
       "B2|10|0|Table|PCS|12|STOCK|4|1|2027-03-01 00:00:00|2027-03-10 00:00:00|2|stock|Auto "
       "Approved.",
       ten},
      {"TBL", 10, 1, "", true,
       "B2|10|0|Table|PCS|12|STOCK|4|1|2027-03-01 00:00:00|2027-03-10 00:00:00|2|stock|Auto "
       "Approved.",
       ten},
      {"TBL", -2, 0, "ZZ", false,
       "B1|0|0|Table|PCS|12|STOCK|4|0|2027-03-01 00:00:00|2027-03-10 00:00:00|2|stock|",
       "1|1|1|CUT|TBL|-2|-2|-24|-288|0|1|1|L1|2|AP1;2|1|2|ASM|TBL|-2|-2|-24|-288|0|0|0||3| / "
       "1|1|CUT|OAK|-1|-2|-4|;2|2|ASM|GLUE|-0.5|-1|-2| / 1|2|ASM|E1|-4|-160;2|1|ASM|E2|-2|null"},
      {"TBL'--", 3, 0, "B1", false,
       "B1|3|0|||0|STOCK|4|0|2027-03-10 00:00:00|2027-03-10 00:00:00|0|stock|",
       "no row / no row / no row"},
  };
  const OleDate start = OleDate::FromParts(2027, 3, 1);
  for (const Case& c : cases) {
    const String no = InTransaction([&] {
      return engine_.CreateProcessBulkOrder4TR(c.product, c.quantity, c.ignore_batch, start,
                                               start.AddDays(9), c.approve, *data_, app_, client_,
                                               "stock", c.book);
    });
    EXPECT_EQ(Header(no,
                     "TJPdTJPkCode, TJPdQuantity, TJPdQuantity2, TJPdProductName, TJPdUnitCals, "
                     "TJPdCalsQty2, TJPdTPrjCode, TJPdStatusOrder, TJPdApproveStatus, "
                     "TJPdStartDate, TJPdEndPlan, TJPdTotalStep, TJPdDescription, " +
                         std::string(kHistory)),
              c.header);
    EXPECT_EQ(Lines(no), c.lines) << c.quantity;
  }
  EXPECT_EQ(engine_.CreateProcessBulkOrderTR("TBL", 1, false, *data_, app_, client_), "");
  EXPECT_EQ(Written(), "4/6/6/6/4/2");
}

KZ8_INSTANTIATE_DB_TEST(ProcessOrderTest);

}  // namespace
}  // namespace kz8test
