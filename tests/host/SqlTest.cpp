#include <kz8mrp/Error.h>

#include "host/Sql.h"
#include "host/services/DbTools.h"
#include "support/TestDb.h"

#include <cmath>
#include <limits>

namespace kz8test {
namespace {

namespace sql = kz8mrp::sql;

TEST(Sql, NegativeNumbersAreParenthesised) {
  EXPECT_EQ(sql::Number(5), "5");
  EXPECT_EQ(sql::Number(-5), "(-5)");
  EXPECT_EQ(sql::Number(2.5), "2.5");
  EXPECT_EQ(sql::Number(-0.25), "(-0.25)");
  EXPECT_EQ(sql::Number(-0.0), "0");
  EXPECT_EQ(sql::Number(std::int64_t{-9007199254740993}), "(-9007199254740993)");
  EXPECT_EQ(sql::Number(0.1 + 0.2), "0.30000000000000004");
  for (const double bad : {std::nan(""), std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity()}) {
    EXPECT_THROW(sql::Number(bad), kz8mrp::Error);
  }
}

TEST(Sql, DateMarkersBecomeLiteralsOnlyOutsideQuotedValues) {
  EXPECT_EQ(sql::ConvertDateMarkers("WHERE d=#$2027-01-04 00:00:00#$"),
            "WHERE d='2027-01-04 00:00:00'");
  EXPECT_EQ(sql::ConvertDateMarkers("a=#$2027-01-04 00:00:00#$ AND b<#$2027-01-05 00:00:00#$"),
            "a='2027-01-04 00:00:00' AND b<'2027-01-05 00:00:00'");
  // A value that merely contains the markers is left as the caller quoted it,
  // doubled quotes included.
  EXPECT_EQ(sql::ConvertDateMarkers("n='it''s #$x#$' AND d=#$2027-01-04 00:00:00#$"),
            "n='it''s #$x#$' AND d='2027-01-04 00:00:00'");
  EXPECT_EQ(sql::ConvertDateMarkers("n='#$' OR m='#$'"), "n='#$' OR m='#$'");
  EXPECT_EQ(sql::ConvertDateMarkers("SELECT 1"), "SELECT 1");
  kz8mrp::host::DbTools tools;
  EXPECT_EQ(tools.ConvertSQL("d=#$2027-01-04 00:00:00#$", "SQLITE"), "d='2027-01-04 00:00:00'");
  EXPECT_EQ(tools.ConvertSQL("d=#$2027-01-04 00:00:00#$", "POSTGRESQL"), "d='2027-01-04 00:00:00'");
}

// Values spliced by the helpers change no statement's meaning on a real database.
class SqlOnDatabase : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    InsertRows("KZ8TSection", {"TSecCode", "TSecName", "TSecHOffice"},
               {{"A", "x", 8}, {"B", "x", 8}, {"C", "x", 8}});
  }
  std::string Column(const std::string& column, const std::string& code) {
    return Scalar("SELECT " + column + " FROM KZ8TSection WHERE TSecCode=" + sql::Text(code));
  }
};

TEST_P(SqlOnDatabase, NegativeNumberNeverFormsAComment) {
  // "TSecHOffice-" followed by -5 would read "TSecHOffice--5 WHERE ...": a
  // comment that swallows the condition and changes every row.
  Exec("UPDATE KZ8TSection SET TSecHOffice=TSecHOffice-" + sql::Number(-5) +
       " WHERE TSecCode=" + sql::Text("B"));
  EXPECT_EQ(Column("TSecHOffice", "A"), "8");
  EXPECT_EQ(Column("TSecHOffice", "B"), "13");
  EXPECT_EQ(Column("TSecHOffice", "C"), "8");
  Exec("UPDATE KZ8TSection SET TSecHOffice=TSecHOffice-" + sql::Number(-0.5) +
       " WHERE TSecCode=" + sql::Text("C"));
  EXPECT_EQ(Column("TSecHOffice", "C"), "8.5");
  EXPECT_EQ(Column("TSecHOffice", "A"), "8");
}

TEST_P(SqlOnDatabase, TextWithQuotesCommentsAndSemicolonsIsJustText) {
  for (const std::string name :
       {"O'Brien's line", "x'; DELETE FROM KZ8TSection; --", "-- all", "a;b", "' OR ''='"}) {
    Exec("UPDATE KZ8TSection SET TSecName=" + sql::Text(name) +
         " WHERE TSecCode=" + sql::Text("B"));
    EXPECT_EQ(Column("TSecName", "B"), name);
    EXPECT_EQ(Column("TSecName", "A"), "x");
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TSection"), "3");
    // And as a key: it matches nothing rather than everything.
    Exec("UPDATE KZ8TSection SET TSecHOffice=1 WHERE TSecCode=" + sql::Text(name));
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TSection WHERE TSecHOffice=1"), "0");
  }
}

KZ8_INSTANTIATE_DB_TEST(SqlOnDatabase);

}  // namespace
}  // namespace kz8test
