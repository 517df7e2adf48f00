// Production orders for a job line and in bulk for stock.
#include "common/Text.h"
#include "host/schema/Schema.h"
#include "production/OrderFixture.h"

#include <functional>

namespace kz8test {
namespace {

using kz8mrp::OleDate;
using kz8mrp::String;

class ProductionOrderTest : public OrderTest {
 protected:
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
};

// The header takes the line's quantity, or NewQuantity with units 2 and 3
// scaled alike; the steps keep the routing's own quantities. Only an approved
// order brings the job's totals up to date.
TEST_P(ProductionOrderTest, JobLineOrderCopiesTheLineItsStepsMaterialsAndLabour) {
  struct Case {
    std::function<String()> create;
    int approve;
    const char* quantities;
    const char* line_totals;  // ordered and outstanding, after the order
  };
  const Case cases[] = {
      {[&] { return FromLine(kJob, 1, 1, 50); }, 1, "50|50|5|2", "50|50"},
      {[&] {
         return InTransaction([&] {
           return engine_.CreateProductionOrderFromJobLn2TR(kJob, 1, 0, *data_, app_, client_, -5);
         });
       },
       0, "100|100|10|4", "50|50"},
      {[&] { return FromLineTR(kJob, 1, 1); }, 1, "100|100|10|4", "250|-150"},
  };
  int made = 0;
  // NOLINTBEGIN(performance-inefficient-string-concatenation): the expected rows
  for (const Case& c : cases) {
    const String no = c.create();
    EXPECT_EQ(no, "PD-B1-2701-0000" + std::to_string(++made));
    const std::string a = std::to_string(c.approve);
    EXPECT_EQ(Header(no, "TJPdQtyNeed, TJPdQuantityNet, TJPdQuantity2, TJPdQuantityNet3"),
              c.quantities);
    EXPECT_EQ(Header(no,
                     "TJPdTJPkCode, TJPdTJbMTJobNo, TJPdTJobCode, TJPdTJbMLn, TJPdProductName, "
                     "TJPdTPrjCode, TJPdTPSECode, TJPdCalsQty3, TJPdUnitCals, TJPdUnitCals2, "
                     "TJPdDescription, TJPDCustom2, TJPdStartPlan, TJPdEndPlan, TJPdTotalStep, "
                     "TJPdStatusOrder, TJPdApproveStatus, TJPdConfirmBy, TJPdCreateBy, TJPdDate"),
              "B1|J'1 --#$|JC|1|Table|PRJ|SE|144|PCS|null|Oak|c2|2027-01-03 00:00:00|2027-01-09 "
              "00:00:00|2|0|" +
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
              std::string("MRPJOBCBUILTPD|") + (c.approve ? "Auto Approved." : "") +
                  "|PLN|1|TJPDNo|TJPD|KZ8TJobProduction|2027-01-04 09:00:00");
    EXPECT_EQ(Values("SELECT TJbMTotalRequest, TJbMTotalArrear FROM KZ8TJobMB WHERE TJbMLn=1 "
                     "AND TJbMTJobNo='J''1 --#$'"),
              c.line_totals);
  }
  // NOLINTEND(performance-inefficient-string-concatenation)
  EXPECT_EQ(Values("SELECT TJbMTotalRequest FROM KZ8TJobMB WHERE TJbMTJobNo='J2'"),
            "null;null;null");
}

// The book given, else the plant's default; it must exist, else the first
// book by code, else "-". Orders from a job line and bulk orders alike.
TEST_P(ProductionOrderTest, BookFallsBackToTheDefaultThenTheFirstThenNone) {
  struct Case {
    const char* given;
    const char* setting;
    const char* book;
  };
  const Case cases[] = {{"B2", "B1", "B2"}, {"", "B2", "B2"}, {"", "", "B1"}, {"ZZ", "B2", "B1"}};
  for (const Case& c : cases) {
    Setting("MRPDEFAULTPRODUCTIONBOOK", c.setting);
    EXPECT_EQ(Header(FromLine(kJob, 1, 0, 0, c.given), "TJPdTJPkCode"), c.book) << c.given;
    EXPECT_EQ(Header(Bulk("TBL", 1, c.given), "TJPdTJPkCode"), c.book) << c.given;
  }
  Exec("DELETE FROM KZ8TJobProdBook");
  EXPECT_EQ(FromLine(kJob, 1), "PD-2701-00001");
  EXPECT_EQ(Header(Bulk("TBL", 1, "B2"), "TJPdTJPkCode"), "-");
}

// A bulk order is the header alone, never approved, for a quantity never below 0.
TEST_P(ProductionOrderTest, BulkOrderIsAnUnapprovedHeaderForTheProduct) {
  Setting("DEFAULTPROJECTBULKORDER", "STOCK");
  const std::pair<String, std::string> cases[] = {
      {Bulk("TBL", 20), "20|0|Table|PCS|12"},
      {Bulk("TBL'--", -3), "0|0|||0"}};  // a product not in the master is no error
  for (const auto& [no, product] : cases) {
    EXPECT_EQ(Header(no,
                     "TJPdQuantity, TJPdQuantity3, TJPdProductName, TJPdUnitCals, TJPdCalsQty2, "
                     "TJPdApproveStatus, TJPdConfirmStatus, TJPdApproveBy, TJPdConfirmDate, "
                     "TJPdStartDate, TJPdEndPlan, TJPdStartPlan, TJPdTJbMTJobNo, TJPdTJbMLn, "
                     "TJPdTPrjCode, TJPdDescription, TJPdTotalStep"),
              product +
                  "|0|0|planner|2027-01-04 09:00:00|2027-03-10 00:00:00|2027-03-10 00:00:00|"
                  "null||0|STOCK|stock|0");
    EXPECT_EQ(
        Values("SELECT TAplEvent, TAplRemark FROM KZ8TApproveLog WHERE TAplDocNo='" + no + "'"),
        "MRPJOBCBUILTPROCESS|");
  }
  EXPECT_EQ(Written(), "2/0/0/0/2/1");
}

// No order for a line without routing, without a row, or with nothing to make
// to a new quantity; none for a job that is not there; none when the labour
// copy fails on its second line. Nothing is written, the number included, not
// even by the TR methods inside the caller's transaction, which goes on.
TEST_P(ProductionOrderTest, NoOrderOrAFailedOneLeavesNothingBehind) {
  InsertRows(
      "KZ8TJobMethod",
      {"TJStTJbMTJobNo", "TJStTJbMLn", "TJStTSpdStep", "TJStLevel", "TJStLn", "TJStQuantity"},
      {{kJob, 9, 1, 1, 9, 1}});
  const std::function<String()> calls[] = {
      [&] { return FromLine(kJob, 3, 1); },    [&] { return FromLineTR(kJob, 3, 1); },
      [&] { return FromLine(kJob, 9, 1); },    [&] { return FromLineTR(kJob, 9, 1); },
      [&] { return FromLine(kJob, 2, 1, 5); }, [&] { return FromLine("J'1 --#$x", 1, 1); },
      [&] { return FromLineTR("J'1 --", 1); }};
  for (const auto& call : calls) EXPECT_EQ(call(), "");
  EXPECT_EQ(Written(), "0/0/0/0/0/0");

  Exec("CREATE UNIQUE INDEX ux_labour_once ON KZ8TJobProdDL (TJPLTEmpCode)");
  Exec("UPDATE KZ8TJobDL SET TJDLTEmpCode='E1'");
  EXPECT_EQ(FromLine(kJob, 1, 1), "");
  EXPECT_EQ(Written(), "0/0/0/0/0/0");
  ExpectFailureInsideTransaction(
      [&] { return engine_.CreateProductionOrderFromJobLn3TR(kJob, 1, 1, *data_, app_, client_); });
  Exec("UPDATE KZ8TJobDL SET TJDLTEmpCode='E2' WHERE TJDLLn=2");
  EXPECT_EQ(FromLine(kJob, 1, 1), "PD-B1-2701-00001");
}

// An older init keyed labour lines by level and step too. init run again gives
// them the job line's key, keeps every line and numbers the clashing ones anew.
TEST_P(ProductionOrderTest, InitAgainRekeysAnOlderDatabasesLabourLines) {
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

KZ8_INSTANTIATE_DB_TEST(ProductionOrderTest);

}  // namespace
}  // namespace kz8test
