// A plant to make work orders in: a job (its number full of SQL's special
// characters) whose first line makes tables through two routing steps with
// materials and labour, a line with nothing to make, a line without routing,
// another job beside it, two production books and the products' masters.
#pragma once

#include "jobs/JobFixture.h"

#include <functional>

namespace kz8test {

class OrderTest : public JobTest {
 protected:
  using Value = kz8mrp::db::Value;
  static constexpr const char* kJob = "J'1 --#$";

  void SetUp() override {
    JobTest::SetUp();
    InsertRows("KZ8TProduct",
               {"TPdtCode", "TPdtName", "TPdtTPSECode", "TPdtTUntCode", "TPdtTUntCode2",
                "TPdtUnit2Ratio", "TPdtUnit3Ratio"},
               {{"TBL", "Table", "SE", "PCS", "DOZ", 12, 144}});
    InsertRows("KZ8TJobProdBook", {"TJPkCode", "TJPkDocCode"}, {{"B2", "D2"}, {"B1", "D1"}});
    for (const char* job : {kJob, "J2"}) {
      Job(job, {{"TJobCode", "JC"}, {"TJobTPrjCode", "PRJ"}});
      InsertRows(
          "KZ8TJobMB",
          {"TJbMTJobNo", "TJbMLn", "TJbMTPdtCode", "TJbMProductName", "TJbMUseOrder",
           "TJbMUseOrder2", "TJbMUseOrder3", "TJbMTUntCode", "TJbMDescription", "TJbMCustom2"},
          {{job, 1, "TBL", "Table", 100, 10, 4, "PCS", "Oak", "c2"},
           {job, 2, "TBL", "Table", 0, 0, 0, "PCS", "", ""},
           {job, 3, "TBL", "Table", 5, 5, 5, "PCS", "", ""}});
      // Line 1 from day 3 to day 9; its second step makes a product the master lacks.
      InsertRows(
          "KZ8TJobMethod",
          {"TJStTJbMTJobNo", "TJStTJbMLn", "TJStTSpdStep", "TJStLevel", "TJStLn", "TJStTSepCode",
           "TJStTPdtCode", "TJStQuantity", "TJstPlanStartDate", "TJstPlanEndDate", "TJStRemark"},
          {{job, 1, 1, 1, 1, "CUT", "TBL", 2, "2027-01-03", "2027-01-05", ""},
           {job, 1, 2, 1, 2, "ASM", "NOPE", 2, "2027-01-06", "2027-01-09", "glue"},
           {job, 2, 1, 1, 3, "CUT", "TBL", 1, "2027-01-03", "2027-01-04", ""}});
    }
    // Line numbers of the job's own; the second material belongs to no step.
    InsertRows("KZ8TJobMaterial",
               {"TJMtTJbMTJobNo", "TJMtTJbMLn", "TJMtLn", "TJMtLevel", "TJMtTSpdStep",
                "TJMtTPdtCode", "TJMtProductCode", "TJMtUseOrder", "TJMtUseOrder2", "TJMtRemark"},
               {{kJob, 1, 5, 1, 1, "TBL", "OAK", 3, 6, "top"},
                {kJob, 1, 7, Value(), Value(), "TBL", "SCREW", 40, Value(), Value()}});
    InsertRows(
        "KZ8TJobDL",
        {"TJDLTJbMTJobNo", "TJDLTJbMLn", "TJDLLn", "TJDLLevel", "TJDLTSpdStep", "TJDLTPdtCode",
         "TJDLTEmpCode", "TJDLQuantity", "TJDLCost"},
        {{kJob, 1, 1, 1, 2, "TBL", "E1", Value(), 50}, {kJob, 1, 2, 1, 1, "TBL", "E2", 1.5, 80}});
  }

  // An order's rows in one table; the columns' prefix names its key column too.
  std::string OrderRows(const char* table, const std::string& columns, const std::string& order) {
    return Values("SELECT " + columns + " FROM " + table + " WHERE " + columns.substr(0, 4) +
                  "TJPdNo='" + order + "' ORDER BY 1");
  }
  std::string Header(const std::string& no, const std::string& columns) {
    return Values("SELECT " + columns + " FROM KZ8TJobProduction WHERE TJPdNo='" + no + "'");
  }
  // An order failing part-way (here on its second labour row, as two rows
  // may not name one employee) answers nothing and leaves nothing behind; the
  // TR method inside the caller's transaction leaves the transaction usable.
  void ExpectLabourCopyFailureLeavesNothing(const std::function<std::string()>& alone,
                                            const std::function<std::string()>& inside) {
    Exec("CREATE UNIQUE INDEX ux_labour_once ON KZ8TJobProdDL (TJPLTEmpCode)");
    Exec("UPDATE KZ8TJobDL SET TJDLTEmpCode='E1'");
    EXPECT_EQ(alone(), "");
    EXPECT_EQ(Written(), "0/0/0/0/0/0");
    data_->BeginTrans();
    EXPECT_EQ(inside(), "");
    data_->ExecuteSQL("INSERT INTO KZ8TSetting (TSetKey, TSetValue) VALUES ('after', 'x')");
    EXPECT_EQ(data_->Connection().Query("SELECT TSetKey FROM KZ8TSetting").rows.size(), 1U);
    data_->RollbackTrans();
    EXPECT_EQ(Written(), "0/0/0/0/0/0");
  }
  // Rows in the four order tables and the history, and numbers drawn: "0/0/0/0/0/0".
  std::string Written() {
    std::string out;
    for (const char* t : {"KZ8TJobProduction", "KZ8TJobProductionM", "KZ8TJobProdMat",
                          "KZ8TJobProdDL", "KZ8TApproveLog", "KZ8TDocNo"}) {
      out += (out.empty() ? "" : "/") + Scalar(std::string("SELECT COUNT(*) FROM ") + t);
    }
    return out;
  }
};

}  // namespace kz8test
