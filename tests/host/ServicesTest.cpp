// The host's services: lookups and pick lists, spliced values, stock posting,
// settings and document numbers.
#include <kz8mrp/Error.h>

#include "host/Sql.h"
#include "host/services/DbTools.h"
#include "host/services/InventoryTools.h"
#include "host/services/SettingKeys.h"
#include "host/services/SettingTools.h"
#include "support/Errors.h"
#include "support/TestDb.h"

#include <cmath>
#include <limits>
#include <optional>
#include <set>
#include <tuple>

namespace kz8test {
namespace {

using kz8mrp::OleDate;
using kz8mrp::db::Value;
namespace sql = kz8mrp::sql;
using Texts = std::vector<std::string>;

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

// Nothing or a null found reads as not set; names spliced in must be identifiers.
TEST_P(DbToolsTest, LookupsAndQueriesReadTheFirstRowInKeyOrderCountsReadThemAll) {
  kz8mrp::db::Connection& c = data_->Connection();
  const std::string& cs = connection_string_;
  const std::string by_code = "SELECT TSecCode, TSecHOffice FROM KZ8TSection ORDER BY TSecCode";
  EXPECT_EQ(
      (Texts{tools_.LookupText("TIvbTPdtCode", "P'1", "TIvbStockKind", "KZ8TInventoryMB", c),
             tools_.LookupTextStr("TIvbTPdtCode", "P'1", "TIvbStockKind", "KZ8TInventoryMB", cs),
             tools_.LookupText("TSecCode", "NONE", "TSecName", "KZ8TSection", c),
             tools_.QueryText("TSecCode", by_code, c),
             tools_.FieldText("TSecCode", by_code + " DESC", cs)}),
      (Texts{"K1", "K1", "", "ASM", "PNT"}));
  EXPECT_EQ((std::vector<double>{
                tools_.LookupNumberStr("tseccode", "PNT", "TSECHOFFICE", "kz8tsection", cs),
                tools_.LookupNumber("TSecCode", "ASM", "TSecHOffice", "KZ8TSection", c),
                tools_.QueryNumberStr("TSecHOffice", by_code + " DESC", cs),
                tools_.QueryNumber("TSecCode", "SELECT TSecCode FROM KZ8TSection WHERE 1=0", c)}),
            (std::vector<double>{7, 0, 7, 0}));
  for (const auto& [key, table] :
       {std::pair{"TSecCode", "KZ8TSection; --"}, {"TSecCode=TSecCode OR 1", "KZ8TSection"}}) {
    EXPECT_THROW(tools_.LookupText(key, "x", "TSecName", table, c), kz8mrp::Error);
  }
  EXPECT_THROW(tools_.QueryText("TSecName", by_code, c), kz8mrp::Error);
  EXPECT_THROW(tools_.QueryNumber("TSecName", "SELECT TSecName FROM KZ8TSection", c),
               kz8mrp::Error);  // "Cutting" is no number

  // A trailing ORDER BY, in any spelling, is no part of what is counted; one
  // inside a quoted value is.
  std::string counts;
  for (const char* rows :
       {"KZ8TSection", "KZ8TSection WHERE TSecHOffice>0", "KZ8TSection Order  By TSecName DESC",
        "KZ8TSection WHERE TSecName='order by me'"}) {
    counts += std::to_string(tools_.Count("TSecCode", rows, cs));
  }
  EXPECT_EQ(counts, "3231");
}

TEST_P(DbToolsTest, PickListReturnsThePickedRowsColumns) {
  kz8mrp::host::PickListRequest r{.title = "เลือกแผนก",
                                  .return_columns = "TSecCode;TSecHOffice",
                                  .columns = "TSecCode,TSecName",
                                  .captions = "รหัส,ชื่อ",
                                  .widths = "1000,2500",
                                  .formats = "",
                                  .rows = "KZ8TSection WHERE TSecHOffice>0 ORDER BY TSecCode"};
  // One row only when one is asked for.
  const std::tuple<bool, std::vector<std::size_t>, const char*> picks[] = {
      {false, {1}, "PNT;7"},
      {true, {1, 0}, "PNT;7,CUT;8"},
      {false, {0, 1}, "CUT;8"},
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

// "TSecHOffice-" followed by -5 would read "TSecHOffice--5 WHERE ...", a
// comment that swallows the condition and changes every row.
TEST_P(DbToolsTest, SplicedValuesChangeOnlyTheRowTheyName) {
  for (const auto& [code, by] : {std::pair{"PNT", -5.0}, {"CUT", -0.5}}) {
    Exec("UPDATE KZ8TSection SET TSecHOffice=TSecHOffice-" + sql::Number(by) +
         " WHERE TSecCode=" + sql::Text(code));
  }
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
  EXPECT_EQ(sql::Number(5) + sql::Number(-5) + sql::Number(-0.25) + sql::Number(-0.0) +
                sql::Number(std::int64_t{-9007199254740993}) + sql::Number(0.1 + 0.2),
            "5(-5)(-0.25)0(-9007199254740993)0.30000000000000004");
  EXPECT_THROW(sql::Number(std::nan("")), kz8mrp::Error);
  EXPECT_THROW(sql::Number(-std::numeric_limits<double>::infinity()), kz8mrp::Error);
  EXPECT_THROW(sql::Text(std::string("a\0b", 3)), kz8mrp::Error);
  // A value that merely contains the markers is left as the caller quoted it,
  // doubled quotes included.
  EXPECT_EQ(sql::ConvertDateMarkers("n='it''s #$x#$' AND d=#$2027-01-04 00:00:00#$ OR m='#$'"),
            "n='it''s #$x#$' AND d='2027-01-04 00:00:00' OR m='#$'");
}

class InventoryToolsTest : public DbTest {
 protected:
  kz8mrp::host::InventoryTools tools_;
  const OleDate day_ = OleDate::FromParts(2027, 1, 4);
  void Post(const std::string& no) { tools_.Post(no, true, *data_, app_, client_); }
  std::vector<double> Balances() {
    return {tools_.Balance(*data_, "P1", day_, "FG"), tools_.Balance(*data_, "P1", day_, "RM")};
  }
};

// U is unapproved, C cancelled, N's cancel status never set.
TEST_P(InventoryToolsTest, PostingWritesOnlyApprovedUncancelledDocuments) {
  InsertRows("KZ8TInventory", {"TInvNo", "TInvDate", "TinvApproveStatus", "TinvCancelStatus"},
             {{"U", day_, 0, 0}, {"C", day_, 1, 1}, {"N", day_, 1, Value()}, {"A", day_, 1, 0}});
  InsertRows("KZ8TInventoryMB",
             {"TIvbTInvNo", "TIvbLn", "TIvbTPdtCode", "TIvbStockKind", "TIvbQuantity"},
             {{"U", 1, "P1", "FG", 1},
              {"C", 1, "P1", "FG", 2},
              {"N", 1, "P1", "FG", 4},
              {"A", 1, "P1", "FG", 8},
              {"A", 2, "P1", "RM", 16}});
  for (const char* no : {"U", "C", "N", "A"}) Post(no);
  EXPECT_EQ(Balances(), (std::vector<double>{12, 16}));
  EXPECT_EQ(Values("SELECT TStcTInvNo, TStcLn, TStcDate || '' FROM KZ8TStockCard ORDER BY 1, 2"),
            "A|1|2027-01-04 00:00:00;A|2|2027-01-04 00:00:00;N|1|2027-01-04 00:00:00");

  // Re-posting replaces the document's rows: a changed line, then a cancellation.
  Exec("UPDATE KZ8TInventoryMB SET TIvbQuantity=9 WHERE TIvbTInvNo='A' AND TIvbLn=1");
  Post("A");
  EXPECT_EQ(Balances(), (std::vector<double>{13, 16}));
  Exec("UPDATE KZ8TInventory SET TinvCancelStatus=1 WHERE TInvNo='A'");
  Post("A");
  EXPECT_EQ(Balances(), (std::vector<double>{4, 0}));
  Post("NoSuchDocument");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TStockCard"), "1");
}

KZ8_INSTANTIATE_DB_TEST(InventoryToolsTest);

class SettingToolsTest : public DbTest {
 protected:
  kz8mrp::host::SettingTools tools_;
  enum class ReadAs { Number, Text, Flag };
  // The setting as the engine reads it, as text; the error's text when it fails.
  std::string Read(ReadAs as, const char* key) {
    std::string got;
    const auto e = ErrorFrom([&] {
      got = as == ReadAs::Number ? std::to_string(tools_.GetNumberStr(key, connection_string_))
            : as == ReadAs::Text ? tools_.GetText(key, data_->Connection())
            : tools_.GetFlag(client_.Identity(), key, connection_string_, app_.Identity(), true)
                ? "True"
                : "False";
    });
    return e ? e->Text() : got;
  }
};

// Absent and blank mean not set; a text the engine cannot read is an error
// naming the setting, and no writer may store it.
TEST_P(SettingToolsTest, EachSettingIsReadAsItsKindAndWrittenOnlyIfReadable) {
  using enum ReadAs;
  const std::string zero = std::to_string(0.0);
  const char* const flag = "ACCOUNTIGNOREJOBCOMPLETED";
  const std::tuple<ReadAs, const char*, std::optional<std::string>, std::string, bool> cases[] = {
      {Number, "MRPHourPerDay", "7.5", std::to_string(7.5), true},
      {Number, "MRPHourPerDay", " ", zero, true},
      {Number, "MRPHourPerDay", std::nullopt, zero, true},
      {Number, "MRPHourPerDay", "abc",
       "Type mismatch: the setting MRPHourPerDay holds 'abc', which is not a number of hours",
       false},
      {Number, "MRPHourPerDayWithOT1", "25", std::to_string(25.0), false},  // not in a day
      {Number, "MRPPercentOrderMode", "1.5", std::to_string(1.5), false},
      {Number, "GetBOMHourMultiplyMan", "40000",
       "Overflow: the setting GetBOMHourMultiplyMan holds '40000'", false},
      {Text, "MRPDEFAULTPRODUCTIONBOOK", "PD 'A'", "PD 'A'", true},
      {Text, "MRPDEFAULTPRODUCTIONBOOK", std::nullopt, "", true},
      {Flag, flag, " false ", "False", true},
      {Flag, flag, "n", "False", true},
      {Flag, flag, "-1", "True", true},
      {Flag, flag, "", "True", true},
      {Flag, flag, std::nullopt, "True", true},
      {Flag, flag, "perhaps",
       "Type mismatch: the setting ACCOUNTIGNOREJOBCOMPLETED holds 'perhaps'", false},
      // The engine reads no other key, nor one as another kind; others' keys take any text.
      {Text, "OTHER.PROGRAM", "x", "the setting OTHER.PROGRAM is not listed", true},
      {Text, "MRPHourPerDay", "8", "the setting MRPHourPerDay is not listed", true},
  };
  for (const auto& [as, key, stored, expected, storable] : cases) {
    Exec("DELETE FROM KZ8TSetting");
    if (stored) Setting(key, *stored);
    EXPECT_EQ(Read(as, key).substr(0, expected.size()), expected)
        << key << "=" << stored.value_or("(absent)");
    if (!stored) continue;
    const std::string value = *stored, name = key;
    const auto refused = ErrorFrom([&] { kz8mrp::host::CheckSettingValue(name, value); });
    EXPECT_EQ(!refused, storable) << key << "=" << value;
    EXPECT_THAT(refused ? refused->Text() : name + " takes", HasSubstr(name + " takes"));
  }
  ExpectError([] { kz8mrp::host::CheckSettingValue("mrphourperday", "8"); },
              kz8mrp::errc::kInvalidArgument, "did you mean MRPHourPerDay?");
}

// A book of "-" is shown as no book but must not repeat its numbers; production
// and process orders, and their short tags, share one count.
TEST_P(SettingToolsTest, NumbersAreUniquePerKindBookAndMonth) {
  const OleDate jan = OleDate::FromParts(2027, 1, 4);
  std::set<std::string> issued;
  const auto draw = [&](const char* kind, const char* book, const OleDate& date) {
    const std::string number = tools_.NewDocumentNo2(kind, data_->Connection(), date, "HQ", book);
    EXPECT_TRUE(issued.insert(number).second) << "issued twice: " << number;
  };
  draw("JOB", "", OleDate::FromParts(2027, 1, 31, 23, 59, 59));
  draw("JOB", "", OleDate::FromParts(2027, 2, 1));
  draw("MPS", "", jan);
  for (const char* book : {"", "B1", "B2", "B1", "-", ""}) draw("JOB", book, jan);
  for (const char* kind : {"PRODUCTION", "PRODUCTIONPROCESS", "PD", "pp"}) draw(kind, "PD", jan);
  EXPECT_THROW(tools_.NewDocumentNo2("", data_->Connection(), jan, "HQ", ""), kz8mrp::Error);
}

KZ8_INSTANTIATE_DB_TEST(SettingToolsTest);

}  // namespace
}  // namespace kz8test
