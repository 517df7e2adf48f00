#include <kz8mrp/Error.h>

#include "host/Sql.h"
#include "host/services/DbTools.h"
#include "support/TestDb.h"

#include <cmath>
#include <limits>
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

namespace sql = kz8mrp::sql;

TEST_P(DbToolsTest, LookupsAndQueriesReadTheFirstRowInKeyOrderCountsReadThemAll) {
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

  // A trailing ORDER BY, in any spelling, is no part of what is counted; one
  // inside a quoted value is.
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
  // What the list shows is checked where jobs are picked from one.
  app_.SetPickListHandler(nullptr);
  EXPECT_EQ(tools_.ShowPickList(r, connection_string_, app_), "");
}

// Values spliced by the helpers change no statement's meaning on a real database:
// "TSecHOffice-" followed by -5 would read "TSecHOffice--5 WHERE ...", a comment
// that swallows the condition and changes every row.
TEST_P(DbToolsTest, SplicedValuesChangeOnlyTheRowTheyName) {
  Exec("UPDATE KZ8TSection SET TSecHOffice=TSecHOffice-" + sql::Number(-5) +
       " WHERE TSecCode=" + sql::Text("PNT"));
  Exec("UPDATE KZ8TSection SET TSecHOffice=TSecHOffice-" + sql::Number(-0.5) +
       " WHERE TSecCode=" + sql::Text("CUT"));
  EXPECT_EQ(Values("SELECT TSecHOffice FROM KZ8TSection ORDER BY TSecCode"), "null;8.5;12");
  for (const std::string name :
       {"O'Brien's line", "x'; DELETE FROM KZ8TSection; --", "a;b", "' OR ''='", "back\\'slash"}) {
    Exec("UPDATE KZ8TSection SET TSecName=" + sql::Text(name) +
         " WHERE TSecCode=" + sql::Text("PNT"));
    // As a key it matches nothing rather than everything.
    Exec("UPDATE KZ8TSection SET TSecHOffice=1 WHERE TSecCode=" + sql::Text(name));
    EXPECT_EQ(Scalar("SELECT TSecName FROM KZ8TSection WHERE TSecCode='PNT'"), name);
    EXPECT_EQ(Scalar("SELECT COUNT(*) || ' ' || SUM(TSecHOffice) || MIN(TSecName) FROM "
                     "KZ8TSection WHERE TSecCode<>'PNT'"),
              "2 8.5Cutting");
  }
}

KZ8_INSTANTIATE_DB_TEST(DbToolsTest);

TEST(Sql, NumbersAndDateMarkersAreSplicedAsWritten) {
  EXPECT_EQ(sql::Number(5) + sql::Number(-5) + sql::Number(-0.25) + sql::Number(-0.0),
            "5(-5)(-0.25)0");
  EXPECT_EQ(sql::Number(std::int64_t{-9007199254740993}), "(-9007199254740993)");
  EXPECT_EQ(sql::Number(0.1 + 0.2), "0.30000000000000004");
  for (const double bad : {std::nan(""), -std::numeric_limits<double>::infinity()}) {
    EXPECT_THROW(sql::Number(bad), kz8mrp::Error);
  }
  EXPECT_THROW(sql::Text(std::string("a\0b", 3)), kz8mrp::Error);
  // A value that merely contains the markers is left as the caller quoted it,
  // doubled quotes included.
  EXPECT_EQ(sql::ConvertDateMarkers("n='it''s #$x#$' AND d=#$2027-01-04 00:00:00#$ OR m='#$'"),
            "n='it''s #$x#$' AND d='2027-01-04 00:00:00' OR m='#$'");
  const kz8mrp::host::DbTools tools;
  for (const char* kind : {"SQLITE", "POSTGRESQL"}) {
    EXPECT_EQ(tools.ConvertSQL("a=#$2027-01-04#$ AND b<#$2027-01-05#$", kind),
              "a='2027-01-04' AND b<'2027-01-05'");
  }
}

}  // namespace
}  // namespace kz8test
