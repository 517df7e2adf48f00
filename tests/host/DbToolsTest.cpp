#include <kz8mrp/Error.h>

#include "host/services/DbTools.h"
#include "support/TestDb.h"

#include <tuple>

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

TEST_P(DbToolsTest, LookupsAndQueriesReadTheFirstRowInKeyOrder) {
  kz8mrp::db::Connection& c = data_->Connection();
  EXPECT_EQ(tools_.LookupText("TIvbTPdtCode", "P'1", "TIvbStockKind", "KZ8TInventoryMB", c), "K1");
  EXPECT_EQ(tools_.LookupTextStr("TIvbTPdtCode", "P'1", "TIvbStockKind", "KZ8TInventoryMB",
                                 connection_string_),
            "K1");
  EXPECT_EQ(
      tools_.LookupNumberStr("tseccode", "PNT", "TSECHOFFICE", "kz8tsection", connection_string_),
      7);
  // Nothing found, or a null found: not set.
  EXPECT_EQ(tools_.LookupText("TSecCode", "NONE", "TSecName", "KZ8TSection", c), "");
  EXPECT_EQ(tools_.LookupNumber("TSecCode", "ASM", "TSecHOffice", "KZ8TSection", c), 0);
  // Names are spliced as identifiers and must be identifiers.
  EXPECT_THROW(tools_.LookupText("TSecCode", "CUT", "TSecName", "KZ8TSection; --", c),
               kz8mrp::Error);
  EXPECT_THROW(tools_.LookupText("TSecCode=TSecCode OR 1", "x", "TSecName", "KZ8TSection", c),
               kz8mrp::Error);

  const std::string by_code = "SELECT TSecCode, TSecHOffice FROM KZ8TSection ORDER BY TSecCode";
  EXPECT_EQ(tools_.QueryText("TSecCode", by_code, c), "ASM");
  EXPECT_EQ(tools_.QueryNumberStr("TSecHOffice", by_code + " DESC", connection_string_), 7);
  EXPECT_EQ(tools_.FieldText("TSecCode", by_code + " DESC", connection_string_), "PNT");
  EXPECT_EQ(tools_.QueryNumber("TSecCode", "SELECT TSecCode FROM KZ8TSection WHERE 1=0", c), 0);
  EXPECT_THROW(tools_.QueryText("TSecName", by_code, c), kz8mrp::Error);
  EXPECT_THROW(tools_.QueryNumber("TSecName", "SELECT TSecName FROM KZ8TSection", c),
               kz8mrp::Error);  // "Cutting" is no number
}

// A trailing ORDER BY, in any spelling, is no part of what is counted; one
// inside a quoted value is.
TEST_P(DbToolsTest, CountsTableAndCondition) {
  const std::pair<const char*, std::int64_t> counts[] = {
      {"KZ8TSection", 3},
      {"KZ8TSection WHERE TSecHOffice>0", 2},
      {"KZ8TSection Order  By TSecName DESC", 3},
      {"KZ8TSection WHERE TSecName='order by me'", 1}};
  for (const auto& [rows, count] : counts) {
    EXPECT_EQ(tools_.Count("TSecCode", rows, connection_string_), count) << rows;
  }
}

TEST_P(DbToolsTest, PickListReturnsThePickedRowsColumns) {
  kz8mrp::host::PickListRequest r{.title = "เลือกแผนก",
                                  .return_columns = "TSecCode;TSecHOffice",
                                  .columns = "TSecCode,TSecName",
                                  .captions = "รหัส,ชื่อ",
                                  .widths = "1000,2500",
                                  .formats = "",
                                  .rows = "KZ8TSection WHERE TSecHOffice>0 ORDER BY TSecCode"};
  const std::tuple<bool, std::vector<std::size_t>, const char*> picks[] = {
      {false, {1}, "PNT;7"},
      {true, {1, 0}, "PNT;7,CUT;8"},
      {false, {0, 1}, "CUT;8"},  // one row only when one is asked for
      {true, {5}, ""}};
  for (const auto& [multi, rows, expected] : picks) {
    r.multi_select = multi;
    AnswerPickLists(rows);
    EXPECT_EQ(tools_.PickList(r, connection_string_, app_), expected);
    EXPECT_EQ(shown_.multi_select, multi);
  }
  EXPECT_EQ(shown_.title, r.title);
  EXPECT_EQ(shown_.captions, (std::vector<std::string>{"รหัส", "ชื่อ"}));
  EXPECT_EQ(shown_.widths, (std::vector<int>{1000, 2500}));
  EXPECT_EQ(shown_.rows,
            (std::vector<std::vector<std::string>>{{"CUT", "Cutting"}, {"PNT", "Painting"}}));
  app_.SetPickListHandler(nullptr);
  EXPECT_EQ(tools_.ShowPickList(r, connection_string_, app_), "");
}

KZ8_INSTANTIATE_DB_TEST(DbToolsTest);

}  // namespace
}  // namespace kz8test
