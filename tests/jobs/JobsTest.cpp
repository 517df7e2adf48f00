// Jobs made from sales orders, edited and picked; their totals recomputed from
// production orders, and an order's progress reset.
#include "common/Text.h"
#include "host/db/Connection.h"
#include "jobs/JobFixture.h"

#include <cstdint>

namespace kz8test {
namespace {

class JobsTest : public JobTest {
 protected:
  std::string Make(const std::string& so, const std::string& job_no = "",
                   kz8mrp::Integer type = 1) {
    return InTransaction(
        [&] { return engine_.CreateJOBfromSO2TR(so, job_no, "B1", type, *data_, app_, client_); });
  }
  std::string Of(const std::string& job, const std::string& columns) {
    return Values("SELECT " + columns + " FROM KZ8TJob WHERE TJobNo='" + job + "'");
  }
  // The job numbers SelectJob offers, in the list's order.
  std::vector<std::string> Offered(const std::string& branch = "") {
    AnswerPickLists({});
    engine_.SelectJob(branch, *data_);
    std::vector<std::string> jobs;
    for (const auto& row : shown_.rows) jobs.push_back(row.at(0));
    return jobs;
  }
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

TEST_P(JobsTest, HeaderLineAndRoutingCopyTheSalesOrder) {
  SalesOrder("SO2612-0001", {{"TSODRefNo", "PO-77"}, {"TSODCustomerName", "บริษัท ไม้ไทย จำกัด"}});
  SalesLine("SO2612-0001", 1, "TBL", 10,
            {{"TSOBRequestDate", "2027-01-20"}, {"TSOBTUntCode", "PCS"}, {"TSOBCustom1", "c1"}});
  Insert("KZ8TMRPStepName", {{"TSepCode", "PACK"}});
  Setting("SOAPPROVEJOBSTEPCODE", "PACK");

  const std::string job = Make("SO2612-0001");
  EXPECT_EQ(job, "JOB-B1-2612-00001");  // dated by the order number

  // Today and now are the session's: 2027-01-04 09:00.
  EXPECT_EQ(Of(job,
               "TJobCode, TJobTJbkCode, TJobType, TJobDate, TJobFinishDate, TJobRefNo, "
               "TJobRefLn, TJobRefNo2, TJobCustomerName, TJobTARNCode, TJobInvoiceStatus, "
               "TJobCloseStatus, TJobCloseDate, TJobCreateDate, TJobCreateBy, TJobEditCode, "
               "TJobConfirmStatus, TJobApproveStatus, TJobApproveBy, TJobCancelStatus, "
               "TJobTotalRequest, TJobTotalArrear, TJobTotalArrear3"),
            "C-SO2612-0001|B1|1|2026-12-20 00:00:00|2027-02-01 00:00:00|SO2612-0001|0|PO-77|"
            "บริษัท ไม้ไทย จำกัด||null|0|2027-01-04 00:00:00|2027-01-04 09:00:00|planner|PLN|1|1|"
            "planner|0|0|10|30");

  // Columns copied as they are keep a missing value missing; "text of" gives "".
  EXPECT_EQ(Values("SELECT TJbMLn, TJbMType, TJbMSourceNo, TJbMSourceDate, TJbMTPdtCode, "
                   "TJbMQuantity, TJbMUseOrder, TJbMTotalArrear3, TJbMUseStock, TJbMTUntCode, "
                   "TJbMTUntCode2, TJbMAcceptError, TJbMCustom1, TJbMCustom2, TJbMProcessStatus, "
                   "TJbMFlag3 FROM KZ8TJobMB"),
            "1|1|SO2612-0001|2027-01-20 00:00:00|TBL|10|10|30|0|PCS|null|null|c1||0|"
            "2027-01-04 09:00:00");
  // 2026-12-20 is a Sunday, the first day of week 52.
  EXPECT_EQ(Values("SELECT TJStTJbMLn, TJStTSpdStep, TJStLevel, TJStLn, TJStWeek, TJStTPdtCode, "
                   "TJStQuantity, TJStTSepCode, TJstPlanStartDate, TJStProcessStatus, TJStTJPDNo "
                   "FROM KZ8TJobMethod"),
            "1|1|1|1|52|TBL|10|PACK|2026-12-20 00:00:00|0|null");
}

TEST_P(JobsTest, RebuildingReplacesTheChildrenAndKeepsTheNumber) {
  SalesOrder("SO1");
  SalesLine("SO1", 1, "TBL", 10);
  SalesLine("SO1", 2, "CHR", 40);
  SalesLine("SO1", 3, "LMP", 5);
  const std::string job = Make("SO1");
  InsertRows("KZ8TJobMaterial",
             {"TJMtTJbMTJobNo", "TJMtTJbMLn", "TJMtLevel", "TJMtTSpdStep", "TJMtLn"},
             {{job, 1, 1, 1, 1}, {"OTHER", 1, 1, 1, 1}});
  InsertRows("KZ8TJobDL", {"TJDLTJbMTJobNo", "TJDLTJbMLn", "TJDLLevel", "TJDLTSpdStep", "TJDLLn"},
             {{job, 1, 1, 1, 1}});
  ProductionOrder({"P1", job, 2, "CHR", 15});

  // The order changes: a line is dropped, another grows.
  Exec("DELETE FROM KZ8TSOMB WHERE TSOBLn=3");
  Exec("UPDATE KZ8TSOMB SET TSOBQuantity=50 WHERE TSOBLn=2");
  data_->SetNow(kz8mrp::OleDate::FromParts(2027, 1, 5, 14, 30));
  EXPECT_EQ(Make("SO1", job), job);
  // An order without lines, or none at all, makes no job and replaces nothing.
  SalesOrder("SO-EMPTY");
  EXPECT_EQ(Make("SO-EMPTY", job) + Make("SO-missing"), "");

  EXPECT_EQ(Counts({"KZ8TJob", "KZ8TJobMB", "KZ8TJobMethod"}), "1/2/2");
  EXPECT_EQ(
      Counts({"KZ8TJobMaterial WHERE TJMtTJbMTJobNo='OTHER'", "KZ8TJobMaterial", "KZ8TJobDL"}),
      "1/1/0");  // only another job's material is left
  EXPECT_EQ(Scalar("SELECT MAX(TJStLn) FROM KZ8TJobMethod"), "2");
  // Stamped anew, and the totals count the order that already names the job.
  EXPECT_EQ(Of(job, "TJobCode, TJobCreateDate, TJobTotalArrear"), "C-SO1|2027-01-05 14:30:00|45");
  EXPECT_EQ(Values("SELECT TJbMTotalArrear FROM KZ8TJobMB WHERE TJbMLn=2"), "35");
  EXPECT_EQ(Counts({"KZ8TDocNo"}), "1");  // one number, drawn the first time
}

// Closed when the order is closed, or for an estimate (type 3) verified; the
// routing step comes from the setting of the job's type.
TEST_P(JobsTest, JobCodeClosingAndRoutingStepFollowTheSalesOrder) {
  SalesOrder("SO1", {{"TSODCode", ""}});
  SalesLine("SO1", 1, "TBL", 1, {{"TSOBJobCode", "JC-1"}, {"TSOBCustom2", "X"}});
  SalesOrder("SO2", {{"TSODCode", kz8mrp::db::Value()}, {"TSODVerifyStatus", 1}});
  SalesLine("SO2", 1, "TBL", 1, {{"TSOBCustom2", "CUSTOM-2"}});
  Insert("KZ8TSO2", {{"TSO2TSODNo", "SO1"}, {"TSO2Status", 2}});
  InsertRows("KZ8TMRPStepName", {"TSepCode"}, {{"PACK"}, {"QUOTE"}});
  Setting("SOAPPROVEJOBSTEPCODE", "PACK");
  Setting("SEAPPROVEJOBSTEPCODE", "QUOTE");
  const auto made = [&](const std::string& so, kz8mrp::Integer type) {
    const std::string job = Make(so, "", type);
    return Of(job, "TJobCode, TJobCloseStatus") + "|" +
           Values("SELECT TJStTSepCode FROM KZ8TJobMethod WHERE TJStTJbMTJobNo='" + job + "'");
  };
  EXPECT_EQ((std::vector{made("SO1", 1), made("SO1", 3), made("SO2", 3), made("SO2", 0)}),
            (std::vector<std::string>{"JC-1|1|PACK", "JC-1|0|QUOTE", "CUSTOM-2|1|QUOTE",
                                      "CUSTOM-2|0|PACK"}));
  Setting("SOAPPROVEJOBSTEPCODE", "NO-SUCH-STEP");
  EXPECT_EQ(made("SO2", 0), "CUSTOM-2|0|");
}

// Routing rows are numbered across the job, line 0's going to line 1; a
// rebuild under a number with quotes and dashes touches only that job.
TEST_P(JobsTest, RoutingRowsAreNumberedAcrossTheJobAndQuotedNumbersTouchOnlyTheirOwn) {
  SalesOrder("WEB'1--", {{"TSODRevision", 2}});
  SalesLine("WEB'1--", 0, "", 1);  // a text line without product
  SalesLine("WEB'1--", 1, "TBL", 1);
  SalesLine("WEB'1--", 2, "CHR", 1);
  SalesOrder("SO2");
  SalesLine("SO2", 1, "TBL", 20);
  const std::string other = Make("SO2");
  EXPECT_EQ(other, "JOB-B1-2701-00001");  // no date in the order number: today's month
  EXPECT_EQ(Make("WEB'1--", "J'1--"), "J'1--");
  EXPECT_EQ(Make("WEB'1--", "J'1--"), "J'1--");

  EXPECT_EQ(Of("J''1--", "TJobRefNo"), "WEB'1--");
  EXPECT_EQ(Values("SELECT TJStLn, TJStTJbMLn FROM KZ8TJobMethod WHERE TJStTJbMTJobNo='J''1--' "
                   "ORDER BY TJStLn"),
            "1|1;2|1;3|2");
  EXPECT_EQ(Values("SELECT TJbMType FROM KZ8TJobMB WHERE TJbMLn=0"), "0");
  EXPECT_EQ(Counts({"KZ8TJobMB WHERE TJbMProcessStatus=2", "KZ8TJobMB", "KZ8TJobMethod"}),
            "3/4/4");  // the order was revised
  EXPECT_EQ(Values("SELECT TJbMTotalArrear FROM KZ8TJobMB WHERE TJbMTJobNo='" + other + "'"), "20");
}

// Four times the lines, four times the rows read (not sixteen, as when each
// routing row was added through a recordset reading all of the job's).
TEST_P(JobsTest, RowsReadGrowWithTheLinesOfTheOrder) {
  const auto rows_read = [&](const std::string& so, int lines) {
    SalesOrder(so);
    for (int ln = 1; ln <= lines; ++ln) SalesLine(so, ln, "P" + std::to_string(ln), 1);
    const std::uint64_t before = kz8mrp::db::RowsRead();
    Make(so);
    return static_cast<double>(kz8mrp::db::RowsRead() - before);
  };
  const double small = rows_read("SO2612-0001", 30);
  EXPECT_LE(rows_read("SO2612-0002", 120), 4.5 * small);
}

// Today is 2027-01-04: a job invoiced and closed for invoicing before today
// is finished, unless the plant lets invoicing leave jobs open (the default).
// NEW is not stored yet, and "   " and "" are no number yet: still being written.
// The pick list offers the approved jobs open to edits, of the branch, by number.
TEST_P(JobsTest, CancelledJobsAndInvoicedOnesPastTheirClosingDateAreClosedToEdits) {
  Job("OPEN", {{"TJobTBraCode", "H'Q--"}});
  Job("UNAPPROVED", {{"TJobApproveStatus", 0}});
  for (const char* job : {"CANCELLED", "   ", "Q'1--"}) Job(job, {{"TJobCancelStatus", 1}});
  const std::pair<const char*, const char*> invoiced[] = {{"INV-YESTERDAY", "2027-01-03 23:59:59"},
                                                          {"INV-TODAY", "2027-01-04 00:00:00"},
                                                          {"INV-TOMORROW", "2027-01-05 00:00:00"}};
  for (const auto& [job, closing] : invoiced)
    Job(job, {{"TJobInvoiceStatus", 1}, {"TJobIVCloseDate", closing}});
  Job("NOT-INVOICED", {{"TJobInvoiceStatus", 0}});
  for (const char* ignore : {"False", "True", ""}) {
    Exec("DELETE FROM KZ8TSetting");
    if (*ignore) Setting("ACCOUNTIGNOREJOBCOMPLETED", ignore);
    const bool finished = std::string(ignore) == "False";
    std::string editable;
    for (const char* job : {"OPEN", "CANCELLED", "Q'1--", "NEW", "   ", "", "INV-YESTERDAY",
                            "INV-TODAY", "INV-TOMORROW", "NOT-INVOICED"}) {
      editable += engine_.CanEditJob(job, *data_) ? "y" : "n";
    }
    EXPECT_EQ(editable, finished ? "ynnyyynyyy" : "ynnyyyyyyy") << ignore;
    std::vector<std::string> open = {"INV-TODAY", "INV-TOMORROW", "NOT-INVOICED", "OPEN"};
    if (!finished) open.insert(open.begin() + 2, "INV-YESTERDAY");
    EXPECT_EQ(Offered(), open) << ignore;
  }
  EXPECT_EQ(Offered("H'Q--"), std::vector<std::string>{"OPEN"});
}

TEST_P(JobsTest, PickListShowsTheJobsColumnsAndReturnsThePickedNumber) {
  Job("J1", {{"TJobDate", "2027-01-02 00:00:00"}, {"TJobCode", "งานโต๊ะ"}, {"TJobTPrjCode", "P9"}});
  Job("J2");

  for (const bool english : {false, true}) {
    app_.SetEnglishUI(english);
    AnswerPickLists({1});
    EXPECT_EQ(engine_.SelectJob("", *data_), "J2");
    EXPECT_EQ(shown_.title + ": " + kz8mrp::text::Join(shown_.captions, ", "),
              english ? "Select Job Order: Job No, Job Date, Job Code, Project"
                      : "เลือกรหัสงาน: เลขที่งาน, วันที่งาน, รหัสงาน, โครงการ");
  }
  EXPECT_EQ(shown_.widths, (std::vector<int>{1800, 1000, 2000, 1000}));
  EXPECT_EQ(shown_.rows.at(0), (std::vector<std::string>{"J1", "2027-01-02", "งานโต๊ะ", "P9"}));
  EXPECT_FALSE(shown_.multi_select);
  AnswerPickLists({});  // nothing picked
  EXPECT_EQ(engine_.SelectJob("", *data_), "");
}

// A line counts its open orders, approved or not; the job counts its lines' stock parts and
// approved open orders. Outstanding figures may go negative: "(-5)" keeps "TJbMUseOrder-" a
// subtraction, as a "--" would comment out the WHERE clause and update every job line of the plant.
TEST_P(JobsTest, LinesCountOpenOrdersTheJobCountsStockAndApprovedOnes) {
  Job("J1");
  JobLine("J1", 1, "TBL", 100, /*use_stock=*/10);
  JobLine("J1", 2, "CHR", 50);
  ProductionOrder({"P1", "J1", 1, "TBL", 60});
  ProductionOrder({"P2", "J1", 1, "TBL", 40, /*approved=*/0});
  ProductionOrder({"P3", "J1", 1, "TBL", 25, 1, /*cancelled=*/1});
  ProductionOrder({"P4", "J1", 2, "LEG", 15});  // a part, not the line's product
  const std::string job = "J'1--x";
  Job(job);
  JobLine(job, 1, "TBL' OR '1'='1", 100);
  ProductionOrder({"P'1", job, 1, "TBL' OR '1'='1", -5});

  EXPECT_EQ(AdjustJob(job), 1);
  EXPECT_EQ(Totals("J''1--x", 1) + "/" + Totals("J''1--x"), "-5|105|-15|315/-5|105|-15|315");
  EXPECT_EQ(Totals("J1", 1) + "/" + Totals("J1"), "null|null|null|null/null|null|null|null");
  // Named by one of its production orders instead, the other job is recomputed alone.
  EXPECT_EQ(InTransaction([&] { return engine_.AdjustJOBTR("P1", true, *data_, app_, client_); }),
            1);
  EXPECT_EQ(Totals("J1", 1) + "/" + Totals("J1", 2), "100|-10|300|-30/0|50|0|150");
  // Stock 10, approved orders 60 and 15 (the job counts every product).
  EXPECT_EQ(Totals("J1"), "85|65|255|195");
  AdjustJob("J1");  // a recomputation: running it again changes nothing
  EXPECT_EQ(Totals("J1") + "/" + Totals("J''1--x", 1), "85|65|255|195/-5|105|-15|315");
}

// Only orders of the line's product count, unless percent order mode is 1.
TEST_P(JobsTest, OrdersMarkTheRoutingStepsTheyCoverAndTheMarkStays) {
  Job("J1");
  JobLine("J1", 1, "TBL", 100);
  RoutingStep("J1", 1, "CUT", "TBL");
  RoutingStep("J1", 2, "ASM'--", "TBL");
  RoutingStep("J1", 3, "PNT", "TBL");
  RoutingStep("J1", 4, "CUT", "LEG");
  ProductionOrder({"P1", "J1", 1, "TBL", 30});
  OrderStep("P1", 1, 1, "CUT");
  OrderStep("P1", 2, 2, "ASM'--");
  ProductionOrder({"P2", "J1", 1, "TBL", 30, 1, /*cancelled=*/1});
  OrderStep("P2", 1, 3, "PNT");
  ProductionOrder({"P4", "J1", 1, "LEG", 15});
  OrderStep("P4", 1, 4, "CUT");
  const std::string marks = "SELECT TJStTJPDNo, TJStProcessStatus FROM KZ8TJobMethod";

  Setting("MRPPercentOrderMode", "2");
  AdjustJob("J1");
  EXPECT_EQ(Values(marks + " ORDER BY TJStTSpdStep"), "P1|1;P1|1;null|0;null|0");
  EXPECT_EQ(Totals("J1", 1), "30|70|90|210");

  // The order is cancelled later: its quantity goes, the mark stays.
  Exec("UPDATE KZ8TJobProduction SET TJPdCancelStatus=1 WHERE TJPdNo='P1'");
  Setting("MRPPercentOrderMode", "1");
  AdjustJob("J1");
  EXPECT_EQ(Values(marks + " WHERE TJStTSpdStep IN (1, 4) ORDER BY TJStTSpdStep"), "P1|1;P4|1");
  EXPECT_EQ(Totals("J1", 1), "15|85|45|255");
}

// Steps outstanding again; only approved, uncancelled finished-goods receipts reposted.
TEST_P(JobsTest, ResetOrderClearsItsStepsAndPostsItsReceiptsAgain) {
  const Row progress = {{"TJPMRequest", 200}, {"TJPMRequest3", 600}, {"TJPMArrear", 20},
                        {"TJPMArrear3", 60},  {"TJPMFinishQT", 180}, {"TJPMFinishQT3", 540},
                        {"TJPMFinishPC", 90}, {"TJPMLoss", 10},      {"TJPMLossPC", 3}};
  OrderStep("P'1", 1, 1, "CUT", progress);
  OrderStep("P'1", 2, 2, "ASM",
            {{"TJPMRequest", 0}, {"TJPMFinishQT", 4}, {"TJPMFinishPC", 33}, {"TJPMLossPC", 7}});
  OrderStep("P2", 1, 1, "CUT", progress);
  // P'1's: three finished-goods kinds, unapproved, cancelled, an issue; and P2's.
  const std::tuple<const char*, const char*, const char*, int, int> receipts[] = {
      {"R1", "RECEIVEFGBUILT", "P'1", 1, 0},      {"R2", "RECEIVEFGBUILTOUT", "P'1", 1, 0},
      {"R3", "RECEIVEFGBUILTNOMRP", "P'1", 1, 0}, {"R4", "RECEIVEFGBUILT", "P'1", 0, 0},
      {"R5", "RECEIVEFGBUILT", "P'1", 1, 1},      {"R6", "ISSUERM", "P'1", 1, 0},
      {"R7", "RECEIVEFGBUILT", "P2", 1, 0}};
  for (const auto& [no, alias, order, approved, cancelled] : receipts) {
    InsertRows("KZ8TInventory",
               {"TInvNo", "TInvDate", "TInvTInTAlias", "TInvTJPDNo", "TinvApproveStatus",
                "TinvCancelStatus"},
               {{no, "2027-01-03", alias, order, approved, cancelled}});
    InsertRows("KZ8TInventoryMB",
               {"TIvbTInvNo", "TIvbLn", "TIvbTPdtCode", "TIvbStockKind", "TIvbQuantity"},
               {{no, 1, "TBL", "FG", 10}});
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

KZ8_INSTANTIATE_DB_TEST(JobsTest);

}  // namespace
}  // namespace kz8test
