#include <kz8mrp/Error.h>

#include "host/services/DbTools.h"
#include "support/TestDb.h"

namespace kz8test {
namespace {

class DbToolsTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    // Lines inserted out of key order, so that the first row stored is not the first by key.
    InsertRows(
        "KZ8TInventoryMB",
        {"TIvbTInvNo", "TIvbLn", "TIvbTPdtCode", "TIvbStockKind", "TIvbQuantity"},
        {{"R1", 3, "P'1", "K3", 4.5}, {"R1", 1, "P'1", "K1", 1.5}, {"R1", 2, "P'1", "K2", 3}});
    InsertRows("KZ8TSection", {"TSecCode", "TSecName", "TSecHOffice"},
               {{"CUT", "Cutting", 8}, {"ASM", "order by me"}, {"PNT", "Painting", 7}});
  }
  kz8mrp::host::DbTools tools_;
};

TEST_P(DbToolsTest, LookupsTakeTheFirstRowInKeyOrder) {
  kz8mrp::db::Connection& c = data_->Connection();
  EXPECT_EQ(tools_.LookupText("TIvbTPdtCode", "P'1", "TIvbStockKind", "KZ8TInventoryMB", c), "K1");
  EXPECT_EQ(tools_.LookupNumber("TIvbTPdtCode", "P'1", "TIvbQuantity", "KZ8TInventoryMB", c), 1.5);
  EXPECT_EQ(tools_.LookupTextStr("TIvbTPdtCode", "P'1", "TIvbStockKind", "KZ8TInventoryMB",
                                 connection_string_),
            "K1");
  EXPECT_EQ(
      tools_.LookupNumberStr("tseccode", "PNT", "TSECHOFFICE", "kz8tsection", connection_string_),
      7);
  // Nothing found, or a null found: not set.
  EXPECT_EQ(tools_.LookupText("TSecCode", "NONE", "TSecName", "KZ8TSection", c), "");
  EXPECT_EQ(tools_.LookupNumber("TSecCode", "NONE", "TSecHOffice", "KZ8TSection", c), 0);
  EXPECT_EQ(tools_.LookupNumber("TSecCode", "ASM", "TSecHOffice", "KZ8TSection", c), 0);
  // Names are spliced as identifiers and must be identifiers.
  EXPECT_THROW(tools_.LookupText("TSecCode", "CUT", "TSecName", "KZ8TSection; --", c),
               kz8mrp::Error);
  EXPECT_THROW(tools_.LookupText("TSecCode=TSecCode OR 1", "x", "TSecName", "KZ8TSection", c),
               kz8mrp::Error);
}

TEST_P(DbToolsTest, QueriesReadTheFirstRow) {
  kz8mrp::db::Connection& c = data_->Connection();
  const std::string by_code = "SELECT TSecCode, TSecHOffice FROM KZ8TSection ORDER BY TSecCode";
  EXPECT_EQ(tools_.QueryText("TSecCode", by_code, c), "ASM");
  EXPECT_EQ(tools_.QueryNumber("tsechoffice", by_code, c), 0);
  EXPECT_EQ(tools_.QueryNumberStr("TSecHOffice", by_code + " DESC", connection_string_), 7);
  EXPECT_EQ(tools_.FieldText("TSecCode", by_code + " DESC", connection_string_), "PNT");
  EXPECT_EQ(tools_.QueryText("TSecCode", "SELECT TSecCode FROM KZ8TSection WHERE 1=0", c), "");
  EXPECT_EQ(tools_.QueryNumber("TSecCode", "SELECT TSecCode FROM KZ8TSection WHERE 1=0", c), 0);
  EXPECT_THROW(tools_.QueryText("TSecName", by_code, c), kz8mrp::Error);
  EXPECT_THROW(tools_.QueryNumber("TSecName", "SELECT TSecName FROM KZ8TSection", c),
               kz8mrp::Error);  // "Cutting" is no number
}

TEST_P(DbToolsTest, CountsTableAndCondition) {
  EXPECT_EQ(tools_.Count("TSecCode", "KZ8TSection", connection_string_), 3);
  EXPECT_EQ(tools_.Count("TSecCode", "KZ8TSection WHERE TSecHOffice>0", connection_string_), 2);
  EXPECT_EQ(tools_.Count("TSecCode", "KZ8TSection WHERE TSecHOffice>0 ORDER BY TSecCode",
                         connection_string_),
            2);
  EXPECT_EQ(tools_.Count("", "KZ8TSection Order  By TSecName DESC", connection_string_), 3);
  EXPECT_EQ(
      tools_.Count("TSecCode", "KZ8TSection WHERE TSecName='order by me'", connection_string_), 1);
  EXPECT_EQ(tools_.Count("TIvbLn", "KZ8TInventoryMB WHERE TIvbTPdtCode='P''1' ORDER BY TIvbLn",
                         connection_string_),
            3);
}

class PickListTest : public DbToolsTest {
 protected:
  kz8mrp::host::PickListRequest Request(bool multi) {
    kz8mrp::host::PickListRequest r;
    r.title = "เลือกแผนก";
    r.return_columns = "TSecCode;TSecHOffice";
    r.columns = "TSecCode,TSecName";
    r.captions = "รหัส,ชื่อ";
    r.widths = "1000,2500";
    r.rows = "KZ8TSection WHERE TSecHOffice>0 ORDER BY TSecCode";
    r.multi_select = multi;
    return r;
  }
  std::string Pick(bool multi, const std::vector<std::size_t>& rows) {
    AnswerPickLists(rows);
    return tools_.PickList(Request(multi), connection_string_, app_);
  }
};

TEST_P(PickListTest, ReturnsThePickedRowsColumns) {
  EXPECT_EQ(Pick(false, {1}), "PNT;7");
  EXPECT_EQ(shown_.title, "เลือกแผนก");
  EXPECT_EQ(shown_.captions, (std::vector<std::string>{"รหัส", "ชื่อ"}));
  EXPECT_EQ(shown_.widths, (std::vector<int>{1000, 2500}));
  EXPECT_EQ(shown_.rows,
            (std::vector<std::vector<std::string>>{{"CUT", "Cutting"}, {"PNT", "Painting"}}));
  EXPECT_FALSE(shown_.multi_select);

  EXPECT_EQ(Pick(true, {1, 0}), "PNT;7,CUT;8");
  EXPECT_TRUE(shown_.multi_select);
  EXPECT_EQ(Pick(false, {0, 1}), "CUT;8");  // one row only when one is asked for
  EXPECT_EQ(Pick(true, {}), "");
  EXPECT_EQ(Pick(true, {5}), "");
  app_.SetPickListHandler(nullptr);
  EXPECT_EQ(tools_.ShowPickList(Request(true), connection_string_, app_), "");
}

KZ8_INSTANTIATE_DB_TEST(DbToolsTest);
KZ8_INSTANTIATE_DB_TEST(PickListTest);

}  // namespace
}  // namespace kz8test
