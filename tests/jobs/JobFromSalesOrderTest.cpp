// A job made, and made again, from a sales order.
#include "host/db/Connection.h"
#include "jobs/JobFixture.h"

#include <cstdint>

namespace kz8test {
namespace {

class JobFromSalesOrderTest : public JobTest {
 protected:
  std::string Make(const std::string& so, const std::string& job_no = "",
                   kz8mrp::Integer type = 1) {
    return InTransaction(
        [&] { return engine_.CreateJOBfromSO2TR(so, job_no, "B1", type, *data_, app_, client_); });
  }
  std::string Count(const std::string& table_and_condition) {
    return Scalar("SELECT COUNT(*) FROM " + table_and_condition);
  }
  // Row counts of several tables, "1/2/2".
  std::string Counts(std::initializer_list<const char*> tables) {
    std::string out;
    for (const char* t : tables) out += (out.empty() ? "" : "/") + Count(t);
    return out;
  }
  std::string Of(const std::string& job, const std::string& columns) {
    return Values("SELECT " + columns + " FROM KZ8TJob WHERE TJobNo='" + job + "'");
  }
};

TEST_P(JobFromSalesOrderTest, HeaderLineAndRoutingCopyTheSalesOrder) {
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

TEST_P(JobFromSalesOrderTest, SalesOrderWithoutLinesWritesNothing) {
  SalesOrder("SO1");
  Job("J1", {{"TJobCode", "kept"}});
  JobLine("J1", 1, "TBL", 5);

  EXPECT_EQ(Make("SO1", "J1"), "");
  EXPECT_EQ(Make("SO-missing"), "");

  EXPECT_EQ(Of("J1", "TJobCode"), "kept");
  EXPECT_EQ(Count("KZ8TJobMB"), "1");
  EXPECT_EQ(Count("KZ8TDocNo"), "0");  // no number drawn either
}

TEST_P(JobFromSalesOrderTest, RebuildingReplacesTheChildrenAndKeepsTheNumber) {
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

  EXPECT_EQ(Counts({"KZ8TJob", "KZ8TJobMB", "KZ8TJobMethod"}), "1/2/2");
  EXPECT_EQ(
      Counts({"KZ8TJobMaterial WHERE TJMtTJbMTJobNo='OTHER'", "KZ8TJobMaterial", "KZ8TJobDL"}),
      "1/1/0");  // only another job's material is left
  EXPECT_EQ(Scalar("SELECT MAX(TJStLn) FROM KZ8TJobMethod"), "2");
  // Stamped anew, and the totals count the order that already names the job.
  EXPECT_EQ(Of(job, "TJobCreateDate, TJobTotalArrear"), "2027-01-05 14:30:00|45");
  EXPECT_EQ(Values("SELECT TJbMTotalArrear FROM KZ8TJobMB WHERE TJbMLn=2"), "35");
  EXPECT_EQ(Count("KZ8TDocNo"), "1");  // one number, drawn the first time
}

// Closed when the order is closed, or for an estimate (type 3) verified; the
// routing step comes from the setting of the job's type.
TEST_P(JobFromSalesOrderTest, JobCodeClosingAndRoutingStepFollowTheSalesOrder) {
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
  EXPECT_EQ(made("SO1", 1), "JC-1|1|PACK");
  EXPECT_EQ(made("SO1", 3), "JC-1|0|QUOTE");
  EXPECT_EQ(made("SO2", 3), "CUSTOM-2|1|QUOTE");
  EXPECT_EQ(made("SO2", 0), "CUSTOM-2|0|PACK");
  Setting("SOAPPROVEJOBSTEPCODE", "NO-SUCH-STEP");
  EXPECT_EQ(made("SO2", 0), "CUSTOM-2|0|");
}

TEST_P(JobFromSalesOrderTest, RoutingRowsAreNumberedAcrossTheJob) {
  SalesOrder("SO1", {{"TSODRevision", 2}});
  SalesLine("SO1", 0, "", 1);  // a text line without product
  SalesLine("SO1", 1, "TBL", 1);
  SalesLine("SO1", 2, "CHR", 1);
  Make("SO1");

  // Line 0's routing row goes to line 1.
  EXPECT_EQ(Values("SELECT TJStLn, TJStTJbMLn FROM KZ8TJobMethod ORDER BY TJStLn"), "1|1;2|1;3|2");
  EXPECT_EQ(Values("SELECT TJbMType FROM KZ8TJobMB WHERE TJbMLn=0"), "0");
  EXPECT_EQ(Count("KZ8TJobMB WHERE TJbMProcessStatus=2"), "3");  // the order was revised
}

TEST_P(JobFromSalesOrderTest, NumbersWithQuotesAndDashesTouchOnlyTheirOwnJob) {
  SalesOrder("WEB'1--");
  SalesLine("WEB'1--", 1, "TBL", 10);
  SalesOrder("SO2");
  SalesLine("SO2", 1, "TBL", 20);
  const std::string other = Make("SO2");
  EXPECT_EQ(other, "JOB-B1-2701-00001");  // no date in the order number: today's month

  EXPECT_EQ(Make("WEB'1--", "J'1--"), "J'1--");
  EXPECT_EQ(Make("WEB'1--", "J'1--"), "J'1--");

  EXPECT_EQ(Of("J''1--", "TJobRefNo"), "WEB'1--");
  EXPECT_EQ(Counts({"KZ8TJobMB", "KZ8TJobMethod"}), "2/2");
  EXPECT_EQ(Values("SELECT TJbMTotalArrear FROM KZ8TJobMB WHERE TJbMTJobNo='" + other + "'"), "20");
}

// A job costs in proportion to its order: four times the lines, four times the
// rows read from the database (not sixteen, as when each line's routing row
// was added through a recordset that read every routing row of the job).
TEST_P(JobFromSalesOrderTest, RowsReadGrowWithTheLinesOfTheOrder) {
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

KZ8_INSTANTIATE_DB_TEST(JobFromSalesOrderTest);

}  // namespace
}  // namespace kz8test
