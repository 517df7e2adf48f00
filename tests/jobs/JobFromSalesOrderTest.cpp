// A job made, and made again, from a sales order.
#include "jobs/JobFixture.h"

#include "common/Text.h"

#include <map>

namespace kz8test {
namespace {

class JobFromSalesOrderTest : public JobTest {
 protected:
  std::string Make(const std::string& so, const std::string& job_no = "", kz8mrp::Integer type = 1,
                   const std::string& book = "B1") {
    return InTransaction(
        [&] { return engine_.CreateJOBfromSO2TR(so, job_no, book, type, *data_, app_, client_); });
  }
  // The columns of the first row a query returns, by name ("" for null).
  std::map<std::string, std::string> RowOf(const std::string& sql) {
    const auto rs = Query(sql);
    std::map<std::string, std::string> row;
    if (rs.rows.empty()) return row;
    for (std::size_t i = 0; i < rs.columns.size(); ++i) {
      row[kz8mrp::text::ToLower(rs.columns[i])] = rs.rows.front()[i].AsText();
    }
    return row;
  }
  std::string Count(const std::string& table_and_condition) {
    return Scalar("SELECT COUNT(*) FROM " + table_and_condition);
  }
};

TEST_P(JobFromSalesOrderTest, HeaderLineAndRoutingCopyTheSalesOrder) {
  SalesOrder("SO2612-0001", {{"TSODRefNo", "PO-77"},
                             {"TSODTARNCode", "AR01"},
                             {"TSODCustomerName", "บริษัท ไม้ไทย จำกัด"},
                             {"TSODTPrjCode", "PRJ"},
                             {"TSODDescription", "tables"},
                             {"TSODTEmpCode", "E1"},
                             {"TSODSaleName", "Somchai"}});
  SalesLine("SO2612-0001", 1, "TBL", 10,
            {{"TSOBRequestDate", "2027-01-20"},
             {"TSOBTUntCode", "PCS"},
             {"TSOBUnitCalc", "W*L"},
             {"TSOBUnitFactor", 1.5},
             {"TSOBDescription", "oak"},
             {"TSOBCustom1", "c1"}});
  Insert("KZ8TMRPStepName", {{"TSepCode", "PACK"}});
  Setting("SOAPPROVEJOBSTEPCODE", "PACK");

  const std::string job = Make("SO2612-0001", "", 1, "B1");
  ASSERT_FALSE(job.empty());

  auto h = RowOf("SELECT * FROM KZ8TJob");
  EXPECT_EQ(h["tjobno"], job);
  EXPECT_EQ(h["tjobcode"], "C-SO2612-0001");
  EXPECT_EQ(h["tjobtjbkcode"], "B1");
  EXPECT_EQ(h["tjobtype"], "1");
  EXPECT_EQ(h["tjobdate"], "2026-12-20 00:00:00");
  EXPECT_EQ(h["tjobfinishdate"], "2027-02-01 00:00:00");
  EXPECT_EQ(h["tjobrefno"], "SO2612-0001");
  EXPECT_EQ(h["tjobrefln"], "0");
  EXPECT_EQ(h["tjobrefno2"], "PO-77");
  EXPECT_EQ(h["tjobcustomername"], "บริษัท ไม้ไทย จำกัด");
  EXPECT_EQ(h["tjobrequestcode"] + "/" + h["tjobrequestby"], "E1/Somchai");
  EXPECT_EQ(h["tjobtseccode"], "");
  EXPECT_EQ(h["tjobclosestatus"], "0");
  EXPECT_EQ(h["tjobclosedate"], "2027-01-04 00:00:00");
  EXPECT_EQ(h["tjobcreatedate"], "2027-01-04 09:00:00");
  EXPECT_EQ(h["tjobcreateby"] + "/" + h["tjobeditcode"] + "/" + h["tjobapproveby"],
            "planner/PLN/planner");
  EXPECT_EQ(h["tjobconfirmstatus"] + h["tjobapprovestatus"] + h["tjobcancelstatus"], "110");
  EXPECT_EQ(h["tjobtotalrequest"], "0");
  EXPECT_EQ(h["tjobtotalarrear"], "10");  // brought up to date at the end
  EXPECT_EQ(h["tjobinvoicestatus"], "");  // not the job's to write

  auto m = RowOf("SELECT * FROM KZ8TJobMB");
  EXPECT_EQ(m["tjbmln"] + "/" + m["tjbmtype"] + "/" + m["tjbmsourceno"] + "/" + m["tjbmsourceln"],
            "1/1/SO2612-0001/1");
  EXPECT_EQ(m["tjbmsourcedate"], "2027-01-20 00:00:00");
  EXPECT_EQ(m["tjbmtpdtcode"] + "/" + m["tjbmproductname"], "TBL/name of TBL");
  EXPECT_EQ(m["tjbmquantity"] + "/" + m["tjbmuseorder"] + "/" + m["tjbmtotalarrear"], "10/10/10");
  EXPECT_EQ(m["tjbmquantity3"] + "/" + m["tjbmuseorder3"], "30/30");
  EXPECT_EQ(m["tjbmusestock"] + "/" + m["tjbmtotalrequest"], "0/0");
  EXPECT_EQ(m["tjbmtuntcode"], "PCS");
  EXPECT_EQ(m["tjbmunitcalc"] + "/" + m["tjbmunitfactor"], "W*L/1.5");
  EXPECT_EQ(m["tjbmprocessstatus"], "0");
  EXPECT_EQ(m["tjbmcustom1"] + "/" + m["tjbmcustom2"], "c1/");
  EXPECT_EQ(m["tjbmflag3"], "2027-01-04 09:00:00");
  // Columns copied as they are keep a missing value missing.
  EXPECT_TRUE(Query("SELECT TJbMTUntCode2 FROM KZ8TJobMB").rows[0][0].IsNull());
  EXPECT_TRUE(Query("SELECT TJbMAcceptError FROM KZ8TJobMB").rows[0][0].IsNull());
  EXPECT_FALSE(Query("SELECT TJbMCustom2 FROM KZ8TJobMB").rows[0][0].IsNull());

  auto s = RowOf("SELECT * FROM KZ8TJobMethod");
  EXPECT_EQ(s["tjsttjbmln"] + "/" + s["tjsttspdstep"] + "/" + s["tjstlevel"] + "/" + s["tjstln"],
            "1/1/1/1");
  EXPECT_EQ(s["tjstweek"], "52");  // 2026-12-20 is a Sunday: week 52
  EXPECT_EQ(s["tjsttpdtcode"] + "/" + s["tjstquantity"] + "/" + s["tjsttsepcode"], "TBL/10/PACK");
  EXPECT_EQ(s["tjstplanstartdate"], "2026-12-20 00:00:00");
  EXPECT_EQ(s["tjstprocessstatus"] + "/" + s["tjstflag1"], "0/1");
}

TEST_P(JobFromSalesOrderTest, SalesOrderWithoutLinesWritesNothing) {
  SalesOrder("SO1");
  Job("J1", {{"TJobCode", "kept"}});
  JobLine("J1", 1, "TBL", 5);

  EXPECT_EQ(Make("SO1", "J1"), "");
  EXPECT_EQ(Make("SO-missing"), "");

  EXPECT_EQ(Scalar("SELECT TJobCode FROM KZ8TJob"), "kept");
  EXPECT_EQ(Count("KZ8TJobMB"), "1");
  EXPECT_EQ(Count("KZ8TDocNo"), "0");  // no number drawn either
}

TEST_P(JobFromSalesOrderTest, RebuildingReplacesTheChildrenAndKeepsTheNumber) {
  SalesOrder("SO1");
  SalesLine("SO1", 1, "TBL", 10);
  SalesLine("SO1", 2, "CHR", 40);
  SalesLine("SO1", 3, "LMP", 5);
  const std::string job = Make("SO1");
  Insert("KZ8TJobMaterial", {{"TJMtTJbMTJobNo", job}, {"TJMtTJbMLn", 1}, {"TJMtLn", 1}});
  Insert("KZ8TJobDL", {{"TJDLTJbMTJobNo", job}, {"TJDLTJbMLn", 1}, {"TJDLLn", 1}});
  Job("OTHER");
  JobLine("OTHER", 1, "TBL", 1);
  Insert("KZ8TJobMaterial", {{"TJMtTJbMTJobNo", "OTHER"}, {"TJMtTJbMLn", 1}, {"TJMtLn", 1}});
  ProductionOrder({"P1", job, 2, "CHR", 15});

  // The order changes: a line is dropped, another grows.
  Exec("DELETE FROM KZ8TSOMB WHERE TSOBLn=3");
  Exec("UPDATE KZ8TSOMB SET TSOBQuantity=50 WHERE TSOBLn=2");
  data_->SetNow(kz8mrp::OleDate::FromParts(2027, 1, 5, 14, 30));
  EXPECT_EQ(Make("SO1", job), job);

  EXPECT_EQ(Count("KZ8TJob WHERE TJobNo<>'OTHER'"), "1");
  EXPECT_EQ(Scalar("SELECT TJobCreateDate FROM KZ8TJob WHERE TJobNo<>'OTHER'"),
            "2027-01-05 14:30:00");
  EXPECT_EQ(Count("KZ8TJobMB WHERE TJbMTJobNo<>'OTHER'"), "2");
  EXPECT_EQ(Count("KZ8TJobMethod"), "2");
  EXPECT_EQ(Scalar("SELECT MAX(TJStLn) FROM KZ8TJobMethod"), "2");
  EXPECT_EQ(Count("KZ8TJobMaterial"), "1");  // only the other job's
  EXPECT_EQ(Count("KZ8TJobDL"), "0");
  // The totals count the order that already names the job.
  EXPECT_EQ(Scalar("SELECT TJbMTotalArrear FROM KZ8TJobMB WHERE TJbMLn=2 AND TJbMTJobNo<>'OTHER'"),
            "35");
  EXPECT_EQ(Scalar("SELECT TJobTotalArrear FROM KZ8TJob WHERE TJobNo<>'OTHER'"), "45");
  EXPECT_EQ(Count("KZ8TDocNo"), "1");  // one number, drawn the first time
}

TEST_P(JobFromSalesOrderTest, JobCodeFallsBackToTheFirstLinesCodes) {
  SalesOrder("SO1", {{"TSODCode", ""}});
  SalesLine("SO1", 1, "TBL", 1, {{"TSOBJobCode", "JC-1"}, {"TSOBCustom2", "X"}});
  SalesOrder("SO2", {{"TSODCode", kz8mrp::db::Value()}});
  SalesLine("SO2", 1, "TBL", 1, {{"TSOBCustom2", "CUSTOM-2"}});
  SalesOrder("SO3", {{"TSODCode", ""}});
  SalesLine("SO3", 1, "TBL", 1);

  EXPECT_EQ(Scalar("SELECT TJobCode FROM KZ8TJob WHERE TJobNo='" + Make("SO1") + "'"), "JC-1");
  EXPECT_EQ(Scalar("SELECT TJobCode FROM KZ8TJob WHERE TJobNo='" + Make("SO2") + "'"), "CUSTOM-2");
  const std::string third = Make("SO3");
  EXPECT_EQ(Count("KZ8TJob WHERE TJobCode='' AND TJobNo='" + third + "'"), "1");
}

TEST_P(JobFromSalesOrderTest, ClosedOnlyWhenTheSourceIsFinishedForItsType) {
  SalesOrder("CLOSED");
  SalesLine("CLOSED", 1, "TBL", 1);
  Insert("KZ8TSO2", {{"TSO2TSODNo", "CLOSED"}, {"TSO2Status", 2}});
  SalesOrder("VERIFIED", {{"TSODVerifyStatus", 1}});
  SalesLine("VERIFIED", 1, "TBL", 1);
  const auto closed = [&](const std::string& so, kz8mrp::Integer type) {
    return Scalar("SELECT TJobCloseStatus FROM KZ8TJob WHERE TJobNo='" + Make(so, "", type) + "'");
  };
  EXPECT_EQ(closed("CLOSED", 1), "1");
  EXPECT_EQ(closed("CLOSED", 3), "0");
  EXPECT_EQ(closed("VERIFIED", 3), "1");
  EXPECT_EQ(closed("VERIFIED", 0), "0");
}

TEST_P(JobFromSalesOrderTest, RoutingStepComesFromTheSettingOfTheJobType) {
  SalesOrder("SO1");
  SalesLine("SO1", 1, "TBL", 1);
  Insert("KZ8TMRPStepName", {{"TSepCode", "PACK"}});
  Insert("KZ8TMRPStepName", {{"TSepCode", "QUOTE"}});
  Setting("SOAPPROVEJOBSTEPCODE", "PACK");
  Setting("SEAPPROVEJOBSTEPCODE", "QUOTE");
  const auto step = [&](kz8mrp::Integer type) {
    const std::string job = Make("SO1", "", type);
    return Scalar("SELECT TJStTSepCode FROM KZ8TJobMethod WHERE TJStTJbMTJobNo='" + job + "'");
  };
  EXPECT_EQ(step(0), "PACK");
  EXPECT_EQ(step(3), "QUOTE");
  Setting("SOAPPROVEJOBSTEPCODE", "NO-SUCH-STEP");
  EXPECT_EQ(step(0), "");
}

TEST_P(JobFromSalesOrderTest, RoutingRowsAreNumberedAcrossTheJob) {
  SalesOrder("SO1", {{"TSODRevision", 2}});
  SalesLine("SO1", 0, "", 1);  // a text line without product
  SalesLine("SO1", 1, "TBL", 1);
  SalesLine("SO1", 2, "CHR", 1);
  Make("SO1");

  const auto rs =
      Query("SELECT TJStLn, TJStTJbMLn, TJStTPdtCode FROM KZ8TJobMethod ORDER BY TJStLn");
  ASSERT_EQ(rs.rows.size(), 3U);
  std::string rows;
  for (const auto& r : rs.rows)
    rows += r[0].AsText() + ":" + r[1].AsText() + ":" + r[2].AsText() + " ";
  EXPECT_EQ(rows, "1:1: 2:1:TBL 3:2:CHR ");
  EXPECT_EQ(Scalar("SELECT TJbMType FROM KZ8TJobMB WHERE TJbMLn=0"), "0");
  EXPECT_EQ(Count("KZ8TJobMB WHERE TJbMProcessStatus=2"), "3");  // the order was revised
  EXPECT_EQ(Scalar("SELECT TJOBRevision FROM KZ8TJob"), "2");
}

TEST_P(JobFromSalesOrderTest, NewNumberIsDatedBySalesOrderNumberOrToday) {
  SalesOrder("SO2611-0005");
  SalesLine("SO2611-0005", 1, "TBL", 1);
  SalesOrder("WEBORDER");
  SalesLine("WEBORDER", 1, "TBL", 1);
  EXPECT_EQ(Make("SO2611-0005", "", 1, "B1"), "JOB-B1-2611-00001");
  EXPECT_EQ(Make("WEBORDER", "", 1, "B1"), "JOB-B1-2701-00001");
}

TEST_P(JobFromSalesOrderTest, NumbersWithQuotesAndDashesTouchOnlyTheirOwnJob) {
  const std::string so = "SO'1--";
  SalesOrder(so);
  SalesLine(so, 1, "TBL", 10);
  SalesOrder("SO2");
  SalesLine("SO2", 1, "TBL", 20);
  const std::string other = Make("SO2");

  EXPECT_EQ(Make(so, "J'1--"), "J'1--");
  EXPECT_EQ(Make(so, "J'1--"), "J'1--");

  EXPECT_EQ(Scalar("SELECT TJobRefNo FROM KZ8TJob WHERE TJobNo='J''1--'"), so);
  EXPECT_EQ(Count("KZ8TJobMB"), "2");
  EXPECT_EQ(Count("KZ8TJobMethod WHERE TJStTJbMTJobNo='" + other + "'"), "1");
  EXPECT_EQ(Scalar("SELECT TJbMTotalArrear FROM KZ8TJobMB WHERE TJbMTJobNo='" + other + "'"), "20");
}

KZ8_INSTANTIATE_DB_TEST(JobFromSalesOrderTest);

}  // namespace
}  // namespace kz8test
