// Production orders for a job line and in bulk for stock; process orders for
// one routing line of a job line, and in bulk for stock from the product's
// master routing, bill of materials and labour list.
#include "common/Text.h"
#include "host/schema/Schema.h"
#include "jobs/JobFixture.h"

#include <functional>

namespace kz8test {
namespace {

using kz8mrp::OleDate;
using kz8mrp::String;

class OrderTest : public JobTest {
 protected:
  using Value = kz8mrp::db::Value;
  static constexpr const char* kJob = "J'1 --#$";
  // The remark of the order's creation in the history, under the process event.
  static constexpr const char* kHistory =
      "(SELECT TAplRemark FROM KZ8TApproveLog WHERE TAplDocNo=TJPdNo AND "
      "TAplEvent='MRPJOBCBUILTPROCESS')";

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
  String FromLine(const String& job, int line, kz8mrp::Integer approve = 0, double new_quantity = 0,
                  const String& book = "") {
    return engine_.CreateProductionOrderFromJobLn3(job, line, approve, *data_, app_, client_,
                                                   new_quantity, book);
  }
  String FromLineTR(const String& job, int line, kz8mrp::Integer approve = 0) {
    return InTransaction([&] {
      return engine_.CreateProductionOrderFromJobLnTR(job, line, approve, *data_, app_, client_);
    });
  }
  String Bulk(const String& product, double quantity, const String& book = "") {
    const OleDate start = OleDate::FromParts(2027, 3, 1);
    return InTransaction([&] {
      return engine_.CreateProductionBulkOrder3TR(product, quantity, false, start, start.AddDays(9),
                                                  1, *data_, app_, client_, "stock", book);
    });
  }
  // Rows in the four order tables and the history, and numbers drawn: "0/0/0/0/0/0".
  std::string Written() {
    return Counts({"KZ8TJobProduction", "KZ8TJobProductionM", "KZ8TJobProdMat", "KZ8TJobProdDL",
                   "KZ8TApproveLog", "KZ8TDocNo"});
  }
};

// The header takes the line's quantity, or NewQuantity with units 2 and 3 scaled alike; the steps
// keep the routing's own quantities. Only an approved order brings the job's totals up to date.
// Each case: the call, whether it approves, the header's quantities, the line's ordered and
// outstanding totals after it.
TEST_P(OrderTest, JobLineOrderCopiesTheLineItsStepsMaterialsAndLabour) {
  const std::tuple<std::function<String()>, int, const char*, const char*> cases[] = {
      {[&] { return FromLine(kJob, 1, 1, 50); }, 1, "50|50|5|2", "50|50"},
      {[&] { return FromLine(kJob, 1, 0, -5); }, 0, "100|100|10|4", "50|50"},
      {[&] { return FromLineTR(kJob, 1, 1); }, 1, "100|100|10|4", "250|-150"}};
  int made = 0;
  // NOLINTBEGIN(performance-inefficient-string-concatenation): the expected rows
  for (const auto& [create, approve, quantities, line_totals] : cases) {
    const String no = create();
    EXPECT_EQ(no, "PD-B1-2701-0000" + std::to_string(++made));
    const std::string a = std::to_string(approve);
    EXPECT_EQ(Header(no,
                     "TJPdQtyNeed, TJPdQuantityNet, TJPdQuantity2, TJPdQuantityNet3, "
                     "TJPdTJPkCode, TJPdTJbMTJobNo, TJPdTJobCode, TJPdTJbMLn, TJPdProductName, "
                     "TJPdTPrjCode, TJPdTPSECode, TJPdCalsQty3, TJPdUnitCals, TJPdUnitCals2, "
                     "TJPdDescription, TJPDCustom2, TJPdStartPlan, TJPdEndPlan, TJPdTotalStep, "
                     "TJPdStatusOrder, TJPdApproveStatus, TJPdConfirmBy, TJPdCreateBy, TJPdDate"),
              std::string(quantities) +
                  "|B1|J'1 --#$|JC|1|Table|PRJ|SE|144|PCS|null|Oak|c2|2027-01-03 00:00:00|"
                  "2027-01-09 00:00:00|2|0|" +
                  a + "|null|planner|2027-01-04 00:00:00");
    EXPECT_EQ(OrderRows("KZ8TJobProductionM",
                        "TJPMLn, TJPMStep, TJPMTSepCode, TJPMAmount, TJPMArrear2, TJPMRequest3, "
                        "TJPMProcessStatus, TJPMStartDate, TJPMTPdtCode, TJPMFinishQT",
                        no),
              "1|1|CUT|2|24|288|" + a + "|2027-01-03 00:00:00|TBL|0;2|2|ASM|2|0|0|" + a +
                  "|2027-01-06 00:00:00|NOPE|0");
    EXPECT_EQ(OrderRows("KZ8TJobProdMat",
                        "TMteLn, TMteLevel, TMteStep, TMteProductCode, TMteQuantity, "
                        "TMteUseOrder2, TMteTotalDif3, TMteUseStock, TMteDescription",
                        no),
              "1|1|1|OAK|3|6|null|0|top;2|null|null|SCREW|40|null|null|0|null");
    EXPECT_EQ(OrderRows("KZ8TJobProdDL",
                        "TJPLLn, TJPLStep, TJPLTEmpCode, TJPLQuantity, TJPLCost, TJPLRemark", no),
              "1|2|E1|0|50|;2|1|E2|1.5|80|");
    EXPECT_EQ(Values("SELECT TAplEvent, TAplRemark, TAplUserCode, TAplMode, TAplKeyColumn, "
                     "TAplPrefix, TAplTable, TAplDate FROM KZ8TApproveLog WHERE TAplDocNo='" +
                     no + "'"),
              std::string("MRPJOBCBUILTPD|") + (approve ? "Auto Approved." : "") +
                  "|PLN|1|TJPDNo|TJPD|KZ8TJobProduction|2027-01-04 09:00:00");
    EXPECT_EQ(Values("SELECT TJbMTotalRequest, TJbMTotalArrear FROM KZ8TJobMB WHERE TJbMLn=1 "
                     "AND TJbMTJobNo='J''1 --#$'"),
              line_totals);
  }
  // NOLINTEND(performance-inefficient-string-concatenation)
  EXPECT_EQ(Values("SELECT TJbMTotalRequest FROM KZ8TJobMB WHERE TJbMTJobNo='J2'"),
            "null;null;null");
}

// The book given, else the plant's default; it must exist, else the first
// book by code, else "-". Orders from a job line and bulk orders alike. A bulk
// order is the header alone, never approved, for a quantity never below 0.
TEST_P(OrderTest, BookFallsBackToTheDefaultThenTheFirstThenNone) {
  Setting("DEFAULTPROJECTBULKORDER", "STOCK");
  const auto bulk_header = [&](const String& no) {
    return Header(no,
                  "TJPdTJPkCode, TJPdQuantity, TJPdQuantity3, TJPdProductName, TJPdUnitCals, "
                  "TJPdCalsQty2, TJPdApproveStatus, TJPdConfirmStatus, TJPdApproveBy, "
                  "TJPdConfirmDate, TJPdStartDate, TJPdEndPlan, TJPdStartPlan, TJPdTJbMTJobNo, "
                  "TJPdTJbMLn, TJPdTPrjCode, TJPdDescription, TJPdTotalStep, " +
                      std::string(kHistory));
  };
  const std::string unapproved =
      "|0|0|planner|2027-01-04 09:00:00|2027-03-10 00:00:00|2027-03-10 00:00:00|null||0|STOCK|"
      "stock|0|";
  // The book given, the default, the book used.
  for (const auto& [given, setting, book] :
       {std::tuple{"B2", "B1", "B2"}, {"", "B2", "B2"}, {"", "", "B1"}, {"ZZ", "B2", "B1"}}) {
    Setting("MRPDEFAULTPRODUCTIONBOOK", setting);
    EXPECT_EQ(Header(FromLine(kJob, 1, 0, 0, given), "TJPdTJPkCode"), book) << given;
    EXPECT_EQ(bulk_header(Bulk("TBL", 20, given)), book + ("|20|0|Table|PCS|12" + unapproved))
        << given;
  }
  // A product not in the master is no error.
  EXPECT_EQ(bulk_header(Bulk("TBL'--", -3)), "B2|0|0|||0" + unapproved);
  EXPECT_EQ(Written(), "9/8/8/8/9/2");  // bulk orders add no rows below
  Exec("DELETE FROM KZ8TJobProdBook");
  EXPECT_EQ(FromLine(kJob, 1), "PD-2701-00001");
  EXPECT_EQ(Header(Bulk("TBL", 1, "B2"), "TJPdTJPkCode"), "-");
}

// An older init keyed labour lines by level and step too. init run again gives
// them the job line's key, keeps every line and numbers the clashing ones anew.
TEST_P(OrderTest, InitAgainRekeysAnOlderDatabasesLabourLines) {
  Exec("DROP TABLE KZ8TJobDL");
  Exec(
      "CREATE TABLE KZ8TJobDL (TJDLTJbMTJobNo TEXT NOT NULL, TJDLTJbMLn INTEGER NOT NULL, "
      "TJDLLn INTEGER NOT NULL, TJDLLevel SMALLINT NOT NULL, TJDLTSpdStep SMALLINT NOT NULL, "
      "TJDLTEmpCode TEXT, PRIMARY KEY (TJDLTJbMTJobNo, TJDLTJbMLn, TJDLLevel, TJDLTSpdStep, "
      "TJDLLn))");
  InsertRows(
      "KZ8TJobDL",
      {"TJDLTJbMTJobNo", "TJDLTJbMLn", "TJDLLn", "TJDLLevel", "TJDLTSpdStep", "TJDLTEmpCode"},
      {{kJob, 1, 1, 1, 2, "E1"}, {kJob, 1, 1, 1, 1, "E2"}, {"J2", 1, 4, 1, 1, "E3"}});
  kz8mrp::schema::Install(fixture_connection());
  EXPECT_EQ(kz8mrp::text::Join(
                fixture_connection().backend().DescribeTable("KZ8TJobDL").primary_key, ","),
            IsPostgres() ? "tjdltjbmtjobno,tjdltjbmln,tjdlln" : "TJDLTJbMTJobNo,TJDLTJbMLn,TJDLLn");
  EXPECT_EQ(Values("SELECT TJDLTJbMTJobNo, TJDLLn, TJDLTSpdStep, TJDLTEmpCode, TJDLCost FROM "
                   "KZ8TJobDL ORDER BY 1, 2"),
            "J'1 --#$|1|1|E2|null;J'1 --#$|2|2|E1|null;J2|4|1|E3|null");
  EXPECT_EQ(OrderRows("KZ8TJobProdDL", "TJPLLn, TJPLTEmpCode", FromLine(kJob, 1)), "1|E2;2|E1");
}

KZ8_INSTANTIATE_DB_TEST(OrderTest);

class ProcessOrderTest : public OrderTest {
 protected:
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

// The routing line's product at its quantity (the planner's on the header
// only), in its step's book, described by the job line and routing remark;
// materials and labour of that product and level, from any routing line.
TEST_P(ProcessOrderTest, RoutingLineOrderTakesItsStepAndItsProductsMaterialsAndLabour) {
  Exec("UPDATE KZ8TJobMethod SET TJStRemark='saw only' WHERE TJStTJbMLn=2");
  // Job line, routing line, approve, new quantity; the header, the lines.
  const std::string tables = " / 1|1|null|OAK|3|6|null|top / 1|2||E1|0|null;2|1||E2|1.5|null";
  const std::tuple<int, int, kz8mrp::Integer, double, const char*, std::string> cases[] = {
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
  for (const auto& [line, method_ln, approve, new_quantity, header, lines] : cases) {
    const String no = FromRouting(kJob, line, 1, method_ln, approve, new_quantity);
    EXPECT_EQ(no + "|" +
                  Header(no,
                         "TJPdProductCode, TJPdProductName, TJPdQuantityNet, TJPdQuantity2, "
                         "TJPdStatusOrder, TJPdConfirmStatus, TJPdApproveBy, TJPdDescription, "
                         "TJPDCustom2, TJPdStartPlan, TJPdEndDate, TJPdTotalStep, " +
                             std::string(kHistory)),
              header);
    EXPECT_EQ(Lines(no), lines) << method_ln;
  }
  // Only the approved order counts on the job line's totals.
  EXPECT_EQ(Values("SELECT TJbMTotalRequest FROM KZ8TJobMB WHERE TJbMLn=1 AND TJbMTJobNo='J''1 "
                   "--#$'"),
            "50");
}

// No order for a line without routing or without a row, with nothing to make to a new quantity, for
// a routing line or level that is not there, or of a job that is not there: nothing is written.
TEST_P(ProcessOrderTest, NoOrderOrAFailedOneLeavesNothingBehind) {
  InsertRows(
      "KZ8TJobMethod",
      {"TJStTJbMTJobNo", "TJStTJbMLn", "TJStTSpdStep", "TJStLevel", "TJStLn", "TJStQuantity"},
      {{kJob, 9, 1, 1, 8, 1}});
  const auto routing_tr = [&](const String& job) {
    return engine_.CreateProcessOrderFromJobMethodLevelTR(job, 1, 1, 1, 1, *data_, app_, client_);
  };
  const std::function<String()> calls[] = {
      [&] { return FromLine(kJob, 3, 1); },
      [&] { return FromLineTR(kJob, 3, 1); },
      [&] { return FromLine(kJob, 9, 1); },
      [&] { return FromLineTR(kJob, 9, 1); },
      [&] { return FromLine(kJob, 2, 1, 5); },
      [&] { return FromLine("J'1 --#$x", 1, 1); },
      [&] { return FromLineTR("J'1 --", 1); },
      [&] { return FromRouting(kJob, 1, 1, 9, 1); },
      [&] { return FromRouting(kJob, 1, 2, 1, 1); },
      [&] { return FromRouting("J'1 --#$x", 1, 1, 1, 1); },
      [&] { return InTransaction([&] { return routing_tr("J'1 --"); }); }};
  for (const auto& call : calls) EXPECT_EQ(call(), "");
  EXPECT_EQ(Written(), "0/0/0/0/0/0");

  // An order failing part-way (here on its second labour row, as two rows
  // may not name one employee) answers nothing and leaves nothing behind; the
  // TR methods inside the caller's transaction leave the transaction usable.
  Exec("CREATE UNIQUE INDEX ux_labour_once ON KZ8TJobProdDL (TJPLTEmpCode)");
  Exec("UPDATE KZ8TJobDL SET TJDLTEmpCode='E1'");
  EXPECT_EQ(FromLine(kJob, 1, 1) + FromRouting(kJob, 1, 1, 1, 1), "");
  EXPECT_EQ(Written(), "0/0/0/0/0/0");
  data_->BeginTrans();
  EXPECT_EQ(engine_.CreateProductionOrderFromJobLn3TR(kJob, 1, 1, *data_, app_, client_) +
                routing_tr(kJob),
            "");
  data_->ExecuteSQL("INSERT INTO KZ8TSetting (TSetKey, TSetValue) VALUES ('after', 'x')");
  EXPECT_EQ(data_->Connection().Query("SELECT TSetKey FROM KZ8TSetting").rows.size(), 1U);
  data_->RollbackTrans();
  EXPECT_EQ(Written(), "0/0/0/0/0/0");
  Exec("UPDATE KZ8TJobDL SET TJDLTEmpCode='E2' WHERE TJDLLn=2");
  EXPECT_EQ(FromLine(kJob, 1, 1), "PD-B1-2701-00001");
}

// Lines are the master rows times the quantity, even below 0; the header never orders less than
// nothing. Without steps the span is the end alone. Labour is booked to the first row's step. An
// unknown book falls to the first book, not to the default. The batch size flag changes nothing.
TEST_P(ProcessOrderTest, BulkOrderMultipliesTheProductsMasterRows) {
  Setting("DEFAULTPROJECTBULKORDER", "STOCK");
  Setting("MRPDEFAULTPRODUCTIONBOOK", "B2");
  // Product, quantity, approve, book; the header, the lines.
  using Case = std::tuple<String, double, kz8mrp::Integer, const char*, const char*, const char*>;
  const Case cases[] = {
      {"TBL", 10, 1, "",
       "B2|10|0|Table|PCS|12|STOCK|4|1|2027-03-01 00:00:00|2027-03-10 00:00:00|2|stock|Auto "
       "Approved.",
       "1|1|1|CUT|TBL|10|10|120|1440|1|1|1|L1|2|AP1;2|1|2|ASM|TBL|10|10|120|1440|1|0|0||3| / "
       "1|1|CUT|OAK|5|10|20|;2|2|ASM|GLUE|2.5|5|10| / 1|2|ASM|E1|20|800;2|1|ASM|E2|10|null"},
      {"TBL", -2, 0, "ZZ",
       "B1|0|0|Table|PCS|12|STOCK|4|0|2027-03-01 00:00:00|2027-03-10 00:00:00|2|stock|",
       "1|1|1|CUT|TBL|-2|-2|-24|-288|0|1|1|L1|2|AP1;2|1|2|ASM|TBL|-2|-2|-24|-288|0|0|0||3| / "
       "1|1|CUT|OAK|-1|-2|-4|;2|2|ASM|GLUE|-0.5|-1|-2| / 1|2|ASM|E1|-4|-160;2|1|ASM|E2|-2|null"},
      {"TBL'--", 3, 0, "B1",
       "B1|3|0|||0|STOCK|4|0|2027-03-10 00:00:00|2027-03-10 00:00:00|0|stock|",
       "no row / no row / no row"}};
  const OleDate start = OleDate::FromParts(2027, 3, 1);
  for (const bool ignore_batch : {false, true}) {
    for (const auto& [product, quantity, approve, book, header, lines] : cases) {
      data_->BeginTrans();
      const String no = engine_.CreateProcessBulkOrder4TR(product, quantity, ignore_batch, start,
                                                          start.AddDays(9), approve, *data_, app_,
                                                          client_, "stock", book);
      data_->CommitTrans();
      EXPECT_EQ(Header(no,
                       "TJPdTJPkCode, TJPdQuantity, TJPdQuantity2, TJPdProductName, TJPdUnitCals, "
                       "TJPdCalsQty2, TJPdTPrjCode, TJPdStatusOrder, TJPdApproveStatus, "
                       "TJPdStartDate, TJPdEndPlan, TJPdTotalStep, TJPdDescription, " +
                           std::string(kHistory)),
                header);
      EXPECT_EQ(Lines(no), lines) << quantity;
    }
  }
  EXPECT_EQ(engine_.CreateProcessBulkOrderTR("TBL", 1, false, *data_, app_, client_), "");
  EXPECT_EQ(Written(), "6/8/8/8/6/2");
}

KZ8_INSTANTIATE_DB_TEST(ProcessOrderTest);

}  // namespace
}  // namespace kz8test
