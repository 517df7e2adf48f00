// The statement texts the calendar, job and formula methods send, run as the
// methods build them on a small plant, so that a text one database kind reads
// differently (nested joins, RIGHT JOIN, date literals, a negative quantity
// after a minus sign) fails here on that kind.
#include "common/Text.h"
#include "host/Sql.h"
#include "host/services/ConvertTools.h"
#include "host/services/DbTools.h"
#include "support/TestDb.h"

#include <algorithm>

namespace kz8test {
namespace {

using kz8mrp::OleDate;
using kz8mrp::sql::Number;
using kz8mrp::sql::Text;

enum class Run {
  Select,  // render the `shown` columns of the rows
  Action,  // run inside a rolled-back transaction, render `check`
  Count,   // DbTools.Count over a table-and-condition text
};

struct Case {
  const char* what;
  Run run;
  std::string sql;
  std::string shown;  // Select: columns to show ("" for all); Action: the check query
  std::string expected;
};

std::string Marked(int y, int m, int d, int h = 0, int min = 0) {
  return "#$" + kz8mrp::host::ConvertTools().SQLDate(OleDate::FromParts(y, m, d, h, min)) + "#$";
}

std::string Plain(int y, int m, int d) {
  return kz8mrp::host::ConvertTools().SQLDate(OleDate::FromParts(y, m, d));
}

// Rows as "a|b" joined by "; ", in the statement's order when it has one.
std::string Render(const kz8mrp::db::ResultSet& rs, const std::string& shown, bool ordered) {
  std::vector<std::size_t> columns;
  if (shown.empty()) {
    for (std::size_t i = 0; i < rs.columns.size(); ++i) columns.push_back(i);
  }
  for (const std::string& name :
       shown.empty() ? std::vector<std::string>{} : kz8mrp::text::Split(shown, ',')) {
    const auto it = std::find_if(rs.columns.begin(), rs.columns.end(), [&](const auto& c) {
      return kz8mrp::text::EqualsNoCase(c, name);
    });
    if (it == rs.columns.end()) return "no column " + name;
    columns.push_back(static_cast<std::size_t>(it - rs.columns.begin()));
  }
  std::vector<std::string> rows;
  for (const auto& row : rs.rows) {
    std::vector<std::string> cells;
    cells.reserve(columns.size());
    for (const std::size_t c : columns) cells.push_back(row[c].AsText());
    rows.push_back(kz8mrp::text::Join(cells, "|"));
  }
  if (!ordered) std::sort(rows.begin(), rows.end());
  return kz8mrp::text::Join(rows, "; ");
}

OleDate Jan(int day, int hour = 0) { return OleDate::FromParts(2027, 1, day, hour); }

// clang-format off
class StatementTextsTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    // The calendar: sections, holidays, reservations, step names and a routing.
    InsertRows("KZ8TSection", {"TSecCode", "TSecHOffice"}, {{"CUT", 7.5}, {"ASM", 8}});
    InsertRows("KZ8TEmpHoliday", {"TEhdHolidayDate", "TEhdYear"}, {{Jan(1), 2027}, {Jan(15), 0}});
    const std::vector<std::string_view> reservation = {"TMPSNo", "TMPSTJStTJbMTJobNo", "TMPSTJStTJbMLn", "TMPSTSecCode", "TMPSStartDate", "TMPSEndDate", "TMPSHour", "TMPSReserveType", "TMPSDate", "TMPSStatus", "TMPSTJStTSpdStep", "TMPSTJStLn", "TMPSTJStLevel"};
    InsertRows("KZ8TMPS", reservation, {
        {"M1", "J1", 1, "CUT", Jan(4, 8), Jan(4, 12), 4, "WIP", Jan(4), 1, 10, 1, 1},
        {"M2", "J1", 2, "CUT", Jan(4, 8), Jan(4, 8).AddHours(2.5), 2.5, "WIP", Jan(4), 1, 10, 1, 1},
        {"M3", "J1", 1, "CUT", Jan(4, 8), Jan(4, 11), 3, "FG", Jan(4), 1, 10, 1, 1},
        {"M4", "J2", 1, "CUT", Jan(4, 8), Jan(4, 9), 1, "WIP", Jan(4), 0, 10, 1, 1},
        {"M5", "", 0, "ASM", Jan(5), Jan(5, 8), 8, "HD", Jan(5), 1, 10, 1, 1},
        {"M6", "", 0, "ASM", Jan(5, 13), Jan(5, 15), 2, "MM", Jan(5), 1, 10, 1, 1},
        {"M7", "J2", 1, "CUT", Jan(6, 16), Jan(7, 10), 18, "WIP", Jan(6), 1, 10, 1, 1}});
    InsertRows("KZ8TMRPStepName", {"TSepCode", "TSepTSecCode"}, {{"S1", "CUT"}, {"S2", "ASM"}});
    InsertRows("KZ8TProductMethod", {"TSpdTPdtCode", "TSpdStep", "TSpdEstimateDay", "TSpdHourPerDay", "TSpdMan"},
               {{"P1", 1, 2, 8, 3}, {"P1", 2, 1, 4, 0}, {"P1", 3, 1, 4, 0}});
    // Jobs: J1 invoiced and closing today, J2 closed yesterday, J3 cancelled, J4 of another branch.
    InsertRows("KZ8TJob", {"TJobNo", "TJobDate", "TJobTBraCode", "TJobApproveStatus", "TJobCancelStatus", "TJobInvoiceStatus", "TJobIVCloseDate"},
               {{"J1", Jan(2), "HQ", 1, 0, 1, Jan(4)}, {"J2", Jan(2), "HQ", 1, 0, 1, Jan(3)},
                {"J3", Jan(2), "HQ", 1, 1}, {"J4", Jan(2), "BR2", 1, 0}});
    InsertRows("KZ8TJobMB", {"TJbMTJobNo", "TJbMLn", "TJbMTPdtCode", "TJbMQuantity", "TJbMUseStock", "TJbMUseOrder", "TJbMSourceDate", "TJbMStartDate"},
               {{"J1", 1, "P1", 10, 1, 10, Jan(2), Jan(4)}, {"J1", 2, "P1", 20, 2, 10, Jan(2)}});
    // Line 1's second step names a step the master does not know.
    InsertRows("KZ8TJobMethod", {"TJStTJbMTJobNo", "TJStTJbMLn", "TJStLn", "TJStTSpdStep", "TJStTSepCode", "TJStLevel", "TJStTPdtCode", "TJStEstimateDay", "TJStProcessStatus", "TJstPlanStartDate", "TJstPlanEndDate"},
               {{"J1", 1, 1, 10, "S1", 1, "P1", 1.5, 0, Jan(4, 8), Jan(4, 17)},
                {"J1", 1, 2, 20, "SX", 1, "P1", 1.5, 0, Jan(5, 8), Jan(5, 17)},
                {"J1", 2, 1, 10, "S1", 1, "P1", 1.5, 0, Jan(6, 8), Jan(6, 17)}});
    InsertRows("KZ8TJobMaterial", {"TJMtTJbMTJobNo", "TJMtTJbMLn", "TJMtLn", "TJMtLevel", "TJMtTSpdStep"}, {{"J1", 1, 1, 1, 10}});
    InsertRows("KZ8TJobDL", {"TJDLTJbMTJobNo", "TJDLTJbMLn", "TJDLLn", "TJDLLevel", "TJDLTSpdStep"}, {{"J1", 1, 1, 1, 10}});
    InsertRows("KZ8TSO", {"TSODNo", "TSODDate"}, {{"SO1", Jan(2)}});
    InsertRows("KZ8TSOMB", {"TSOBTSODNo", "TSOBLn", "TSOBQuantity"}, {{"SO1", 2, 5}, {"SO1", 1, 10}});
    InsertRows("KZ8TSO2", {"TSO2TSODNo", "TSO2Status"}, {{"SO1", 1}});
    // Orders of J1 line 1 (PD2 cancelled), their steps and receipts, and formulas.
    InsertRows("KZ8TJobProduction", {"TJPdNo", "TJPdTJbMTJobNo", "TJPdTJbMLn", "TJPdProductCode", "TJPdQuantity", "TJPdQuantity2", "TJPdQuantity3", "TJPdApproveStatus", "TJPdCancelStatus"},
               {{"PD1", "J1", 1, "P1", 4, 8, 12, 1, 0}, {"PD2", "J1", 1, "P1", 100, 200, 300, 1, 1}, {"PD3", "J1", 1, "P2", 1, 2, 3, 0, 0}});
    InsertRows("KZ8TJobProductionM", {"TJPMTJPdNo", "TJPMLn", "TJPMTSepCode", "TJPMStep"}, {{"PD1", 2, "S2", 20}, {"PD1", 1, "S1", 10}});
    InsertRows("KZ8TInventory", {"TInvNo", "TInvTInTAlias", "TInvTJPDNo", "TinvApproveStatus", "TinvCancelStatus"},
               {{"INV2", "RECEIVEFGBUILTOUT", "PD1", 1, 0}, {"INV1", "RECEIVEFGBUILT", "PD1", 1, 0},
                {"INV3", "RECEIVEFGBUILT", "PD1", 1, 1}, {"INV4", "RECEIVERM", "PD1", 1, 0}});
    InsertRows("KZ8TMRPformula", {"TMRFTMRGCode", "TMRFCode", "TMRFName", "TMRFText1"},
               {{"G1", "F2", "สูตรสอง"}, {"G1", "F1", "สูตรหนึ่ง", "3 mm"}});
  }
  // clang-format on

  std::string Result(const Case& c) {
    kz8mrp::DataObj& data = *data_;
    switch (c.run) {
      case Run::Select: {
        const bool ordered = kz8mrp::text::ToUpper(c.sql).find("ORDER BY") != std::string::npos;
        return Render(data.Connection().Query(c.sql), c.shown, ordered);
      }
      case Run::Action: {
        data.BeginTrans();
        data.ExecuteSQL(c.sql);
        std::string after = Render(data.Connection().Query(c.shown), "", true);
        data.RollbackTrans();
        return after;
      }
      case Run::Count:
        return std::to_string(kz8mrp::host::DbTools().Count("TJobNo", c.sql, connection_string_));
    }
    return {};
  }
};

// clang-format off
std::vector<Case> CalendarCases() {
  const std::string sum = "SELECT TMPSHour FROM KZ8TMPS WHERE TMPSNo<>''";
  const std::string day = " AND TMPSDate=" + Marked(2027, 1, 4) +
                          " AND TMPSStatus=1 AND TMPSReserveType<>'FG' AND TMPSTSecCode=" + Text("CUT");
  const auto period = [](int from, int to) {
    return " AND (TMPSStartDate>=" + Marked(2027, 1, from) + " AND TMPSEndDate<=" + Marked(2027, 1, to) + ")";
  };
  const std::string fg_pass =
      "SELECT TJobNo,TJbMLn,TJbMStartDate,TJbMSourceDate,TJobTBraCode,TJobDate,TJstPlanStartDate,TJstPlanEndDate,TJStTSepCode,TSepTSecCode,TJStTJbMTJobNo,TJStTJbMLn,TJStTSpdStep,TJStLn,"
      "TJStLevel  FROM KZ8TMRPStepName RIGHT JOIN ((KZ8TJob INNER JOIN KZ8TJobMB ON (KZ8TJob.TJobNo = KZ8TJobMB.TJbMTJobNo) AND (KZ8TJob.TJobNo = KZ8TJobMB.TJbMTJobNo)) INNER JOIN"
      " KZ8TJobMethod ON (KZ8TJobMB.TJbMLn = KZ8TJobMethod.TJStTJbMLn) AND (KZ8TJobMB.TJbMTJobNo = KZ8TJobMethod.TJStTJbMTJobNo)) ON KZ8TMRPStepName.TSepCode ="
      " KZ8TJobMethod.TJStTSepCode  WHERE TJbMTJobNo=" + Text("J1") + " ORDER BY TJbMLn,TJstLn";
  const std::string wip_pass =
      "SELECT TJobNo,TJbMLn,TJstTSepCode,TJStEstimateDay,TJStSetupTime,TJstPlanStartDate,TJStTSpdStep,TJStLn,TJStLevel,TJobTBraCode,TJobDate FROM KZ8TJob INNER JOIN (KZ8TJobMB INNER"
      " JOIN KZ8TJobMethod ON (KZ8TJobMB.TJbMLn = KZ8TJobMethod.TJStTJbMLn) AND (KZ8TJobMB.TJbMTJobNo = KZ8TJobMethod.TJStTJbMTJobNo)) ON (KZ8TJob.TJobNo = KZ8TJobMB.TJbMTJobNo) AND"
      " (KZ8TJob.TJobNo = KZ8TJobMB.TJbMTJobNo)  WHERE TJStTJbMTJobNo=" + Text("J1") + " ORDER BY TJStTJbMLn,TJStLn";
  const std::string routing =
      " SELECT  TSpdEstimateDay,TSpdHourPerDay,TSpdMan FROM KZ8TProductMethod Where TSpdTPdtCode=" + Text("P1");
  return {
      {"holiday", Run::Select, "SELECT TEhdYear FROM KZ8TEmpHoliday WHERE TEhdHolidayDate=" + Marked(2027, 1, 1), "", "2027"},
      {"switched-off holiday", Run::Select, "SELECT TEhdYear FROM KZ8TEmpHoliday WHERE TEhdHolidayDate=" + Marked(2027, 1, 15), "", "0"},
      {"office hours", Run::Select, "SELECT TSecHOffice FROM KZ8TSection WHERE TSecCode=" + Text("CUT"), "", "7.5"},
      {"capacity of a day", Run::Select, sum + day, "", "2.5; 4"},
      {"capacity of a job line", Run::Select, sum + day + " AND TMPSTJStTJbMTJobNo=" + Text("J1") + " AND TMPSTJStTJbMLn=" + Number(1), "", "4"},
      {"capacity planned", Run::Select, sum + period(4, 7) + " AND TMPSStatus=1 AND" + " TMPSReserveType<>'FG' AND TMPSTSecCode=" + Text("CUT"), "", "2.5; 4"},
      {"section holidays", Run::Select, sum + period(5, 6) + " AND TMPSStatus=1 AND TMPSReserveType='HD'", "", "8"},
      {"maintenance", Run::Select, sum + period(5, 6) + " AND TMPSStatus=1 AND TMPSReserveType='MM'", "", "2"},
      {"reservation row", Run::Select, "SELECT * FROM KZ8TMPS  WHERE TMPSNo=" + Text("M1"), "TMPSNo,TMPSStartDate,TMPSEndDate,TMPSHour", "M1|2027-01-04 08:00:00|2027-01-04 12:00:00|4"},
      {"job reservations dropped", Run::Action, "DELETE FROM KZ8TMPS WHERE TMPSTJStTJbMTJobNo=" + Text("J1"), "SELECT TMPSNo FROM KZ8TMPS ORDER BY TMPSNo", "M4; M5; M6; M7"},
      {"finished-goods pass", Run::Select, fg_pass, "TJbMLn,TJStLn,TJStTSepCode,TSepTSecCode,TJbMStartDate,TJstPlanStartDate", "1|1|S1|CUT|2027-01-04 00:00:00|2027-01-04 08:00:00; 1|2|SX||2027-01-04 00:00:00|2027-01-05 08:00:00; 2|1|S1|CUT||2027-01-06 08:00:00"},
      {"production pass", Run::Select, wip_pass, "TJbMLn,TJStLn,TJStEstimateDay,TJobDate", "1|1|1.5|2027-01-02 00:00:00; 1|2|1.5|2027-01-02 00:00:00; 2|1|1.5|2027-01-02 00:00:00"},
      {"section of a step", Run::Select, "SELECT TSepTSeccode FROM KZ8TMRPStepName WHERE TSepCode=" + Text("S1"), "", "CUT"},
      {"finished-goods row cancelled", Run::Action, "Update KZ8TMPS Set TMPSStatus=0 WHERE TMPSTJStTJbMTJobNo=" + Text("J1") + " AND TMPSTJStTJbMLn=" + Number(1) + " AND TMPSTJStTSpdStep =" + Number(10) + " AND TMPSTJStLn=" + Number(1) + " AND TMPSTJStLevel=" + Number(1), "SELECT TMPSNo FROM KZ8TMPS WHERE TMPSStatus=0 ORDER BY TMPSNo", "M1; M3; M4"},
      {"routing up to a step", Run::Select, routing + "AND TSpdStep<=" + Number(2) + " ORDER BY TSpdStep DESC", "", "1|4|0; 2|8|3"},
      {"whole routing", Run::Select, routing + " ORDER BY TSpdStep DESC", "", "1|4|0; 1|4|0; 2|8|3"},
  };
}

std::vector<Case> JobCases() {
  const std::string job = Text("J1");
  const std::string step_tail = "' AND TJStTSpdStep=" + Number(10) + " AND TJstTJbMTJobNo=" + job +
                                " AND TJStTJbMLn=" + Number(1) + " AND TJStTPdtCode=" + Text("P1");
  const std::string filter = " AND (TJobInvoiceStatus=0 or TJobInvoiceStatus is null  OR TJobIVCloseDate>='" + Plain(2027, 1, 4) + "')";
  const std::string line_totals = "SELECT TJbMTotalRequest,TJbMTotalArrear FROM KZ8TJobMB WHERE TJbMLn=1";
  return {
      {"sales order with its lines", Run::Select, "SELECT * FROM KZ8TSO INNER JOIN KZ8TSOMB ON KZ8TSO.TSODNo = KZ8TSOMB.TSOBTSODNo LEFT JOIN KZ8TSO2 ON KZ8TSO.TSODNo = KZ8TSO2.TSO2TSODNo LEFT JOIN KZ8TSO3 ON KZ8TSO.TSODNo = KZ8TSO3.TSO3TSODNo  WHERE TSODNo=" + Text("SO1") + " ORDER" + " BY TSOBLn", "TSODNo,TSOBLn,TSOBQuantity,TSO2Status,TSO3TSODNo,TSODDate", "SO1|1|10|1||2027-01-02 00:00:00; SO1|2|5|1||2027-01-02 00:00:00"},
      {"labour cleared", Run::Action, "DELETE FROM KZ8TJobDL WHERE TJDLTJbMTJobNo=" + job, "SELECT COUNT(*) FROM KZ8TJobDL", "0"},
      {"materials cleared", Run::Action, "DELETE FROM KZ8TJobMaterial WHERE TJMtTJbMTJobNo=" + job, "SELECT COUNT(*) FROM KZ8TJobMaterial", "0"},
      {"routing cleared", Run::Action, "DELETE FROM KZ8TJobMethod WHERE TJStTJbMTJobNo=" + job, "SELECT COUNT(*) FROM KZ8TJobMethod", "0"},
      {"lines cleared", Run::Action, "DELETE FROM KZ8TJobMB WHERE TJbMTJobNo=" + job, "SELECT COUNT(*) FROM KZ8TJobMB", "0"},
      {"job header", Run::Select, "SELECT * FROM KZ8TJob  WHERE TJobNo=" + job, "TJobNo,TJobDate,TJobIVCloseDate", "J1|2027-01-02 00:00:00|2027-01-04 00:00:00"},
      {"job line", Run::Select, "SELECT * FROM KZ8TJobMB  WHERE TJbMTJobNo=" + job + " AND TJbMLn=" + Number(2), "TJbMLn,TJbMQuantity", "2|20"},
      {"job routing", Run::Select, "SELECT * FROM KZ8TJobMethod  WHERE TJStTJbMTJobNo=" + job, "TJStTJbMLn,TJStLn", "1|1; 1|2; 2|1"},
      {"lines of a job", Run::Select, "SELECT TJbMTJobNo,TJbMLn,TJbMTPdtCode FROM KZ8TJobMB Where  TJbMTJobNo= " + job + " ORDER BY TJbMLn", "", "J1|1|P1; J1|2|P1"},
      {"orders of a line", Run::Select, "SELECT TJPdQuantity,TJPdQuantity2,TJPdQuantity3 FROM KZ8TJobProduction Where TJPdCancelStatus<>1 AND TJPdTJbMTJobNo= " + job + " AND TJPdTJbMLn=" + Number(1) + " AND TJPdProductCode=" + Text("P1"), "", "4|8|12"},
      {"order steps of a line", Run::Select, "SELECT TJPDNo,TJPMTSepCode,TJPMStep,TJPdTJbMTJobNo,TJPdTJbMLn,TJPdProductCode,TJPMTSepCode,TJPMStep FROM KZ8TJobProduction INNER JOIN KZ8TJobProductionM ON" " KZ8TJobProduction.TJPdNo = KZ8TJobProductionM.TJPMTJPdNo Where TJPdCancelStatus<>1 AND TJPdTJbMTJobNo= " + job + " AND TJPdTJbMLn=" + Number(1), "", "PD1|S1|10|J1|1|P1|S1|10; PD1|S2|20|J1|1|P1|S2|20"},
      {"order number onto the step", Run::Action, "Update KZ8TJobMethod Set TJStTJPDNo=" + Text("PD1") + " Where TJStTSepCode='S1" + step_tail, "SELECT TJStTJbMLn,TJStLn,TJStTJPDNo FROM KZ8TJobMethod ORDER BY TJStTJbMLn,TJStLn", "1|1|PD1; 1|2|; 2|1|"},
      {"step in process", Run::Action, "Update KZ8TJobMethod Set TJstProcessStatus=1 Where TJstProcessStatus=0 AND TJStTSepCode='S1" + step_tail, "SELECT TJStProcessStatus FROM KZ8TJobMethod ORDER BY TJStTJbMLn,TJStLn", "1; 0; 0"},
      {"line totals", Run::Action, "Update KZ8TJobMB Set TJbMTotalRequest=" + Number(4) + ",TJbMTotalArrear=TJbMUseOrder-" + Number(4) + " WHERE TJbMTJobNo=" + job + " AND TJbMLn=" + Number(1), line_totals, "4|6"},
      {"line totals after a negative sum", Run::Action, "Update KZ8TJobMB Set TJbMTotalRequest=" + Number(-2.5) + ",TJbMTotalArrear=TJbMUseOrder-" + Number(-2.5) + " WHERE TJbMTJobNo=" + job + " AND TJbMLn=" + Number(1), "SELECT TJbMLn,TJbMTotalArrear FROM KZ8TJobMB ORDER BY TJbMLn", "1|12.5; 2|"},
      {"job quantities", Run::Select, "SELECT TJbMQuantity,TJbMQuantity2,TJbMQuantity3,TJBMUseStock,TJBMUseStock2,TJBMUseStock3 FROM KZ8TJobMB Where TJbMTJobNo= " + job, "TJbMQuantity,TJBMUseStock", "10|1; 20|2"},
      {"approved orders of a job", Run::Select, "SELECT TJPdQuantity,TJPdQuantity2,TJPdQuantity3 FROM KZ8VJobProduction Where TJPdCancelStatus<>1 AND TJPdApproveStatus=1 AND TJPdTJbMTJobNo= " + job, "", "4|8|12"},
      {"job totals", Run::Action, "Update KZ8TJob Set TJoBTotalRequest3=" + Number(1) + ",TJoBTotalArrear3=" + Number(-3) + " WHERE TJobNo=" + job, "SELECT TJobTotalRequest3,TJobTotalArrear3 FROM KZ8TJob WHERE TJobNo='J1'", "1|-3"},
      {"order steps", Run::Select, "SELECT * FROM KZ8TJobProductionM Where TJPMTJPDNo= " + Text("PD1") + " ORDER BY TJPMLn", "TJPMLn,TJPMTSepCode", "1|S1; 2|S2"},
      {"receipts of an order", Run::Select, "SELECT TInvNo FROM KZ8TInventory Where (TInvTInTAlias='RECEIVEFGBUILT' OR TInvTInTAlias='RECEIVEFGBUILTOUT' OR TInvTInTAlias='RECEIVEFGBUILTNOMRP' )  AND" " TinvApproveStatus=1 and TinvCancelStatus=0 AND TInvTJPDNo= " + Text("PD1") + " ORDER BY TInvNo", "", "INV1; INV2"},
      {"job exists", Run::Count, "KZ8TJob WHERE TJobNo=" + job, "", "1"},
      {"job editable", Run::Count, "KZ8TJob WHERE TJobNo=" + job + " AND TJobCancelstatus=0 " + filter, "", "1"},
      {"closed job not editable", Run::Count, "KZ8TJob WHERE TJobNo=" + Text("J2") + " AND TJobCancelstatus=0 " + filter, "", "0"},
      {"open jobs counted in order", Run::Count, "KZ8TJob WHERE TJobCancelstatus=0 AND TJobApproveStatus=1 " + filter + " ORDER BY TJobNo", "", "2"},
      {"open jobs of a branch", Run::Select, "SELECT * FROM KZ8TJob WHERE TJobCancelstatus=0 AND TJobApproveStatus=1 " + filter + " AND TJobTBraCode=" + Text("HQ") + " ORDER BY TJobNo", "TJobNo,TJobDate", "J1|2027-01-02 00:00:00"},
  };
}

std::vector<Case> FormulaCases() {
  return {
      {"formula", Run::Select, "SELECT * FROM KZ8TMRPformula Where TMRFCode=" + Text("F1") + " AND TMRFTMRGCode=" + Text("G1"), "TMRFCode,TMRFName,TMRFText1,TMRFText2", "F1|สูตรหนึ่ง|3 mm|"},
      {"formulas of a group", Run::Select, "SELECT * FROM KZ8TMRPformula Where TMRFTMRGCode=" + Text("G1"), "TMRFCode", "F1; F2"},
  };
}

// clang-format on

TEST_P(StatementTextsTest, EveryStatementReadsTheSameOnBothKinds) {
  const kz8mrp::host::DbTools db;
  for (const auto& cases : {CalendarCases(), JobCases(), FormulaCases()}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      Case converted = c;
      converted.sql = db.ConvertSQL(c.sql, data_->DatabaseKind());
      EXPECT_EQ(Result(converted), c.expected) << converted.sql;
    }
  }
}

KZ8_INSTANTIATE_DB_TEST(StatementTextsTest);

}  // namespace
}  // namespace kz8test
