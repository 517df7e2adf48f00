#include <kz8mrp/Error.h>

#include "host/Sql.h"
#include "host/services/DbTools.h"
#include "support/TestDb.h"

#include <cmath>
#include <limits>

namespace kz8test {
namespace {

namespace sql = kz8mrp::sql;

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

// Values spliced by the helpers change no statement's meaning on a real database:
// "TSecHOffice-" followed by -5 would read "TSecHOffice--5 WHERE ...", a comment
// that swallows the condition and changes every row.
class SqlOnDatabase : public DbTest {};

TEST_P(SqlOnDatabase, SplicedValuesChangeOnlyTheRowTheyName) {
  InsertRows("KZ8TSection", {"TSecCode", "TSecName", "TSecHOffice"},
             {{"A", "x", 8}, {"B", "x", 8}, {"C", "x", 8}});
  Exec("UPDATE KZ8TSection SET TSecHOffice=TSecHOffice-" + sql::Number(-5) +
       " WHERE TSecCode=" + sql::Text("B"));
  Exec("UPDATE KZ8TSection SET TSecHOffice=TSecHOffice-" + sql::Number(-0.5) +
       " WHERE TSecCode=" + sql::Text("C"));
  EXPECT_EQ(Scalar("SELECT TSecHOffice FROM KZ8TSection WHERE TSecCode='A'"), "8");
  EXPECT_EQ(Scalar("SELECT SUM(TSecHOffice) FROM KZ8TSection"), "29.5");
  for (const std::string name :
       {"O'Brien's line", "x'; DELETE FROM KZ8TSection; --", "a;b", "' OR ''='", "back\\'slash"}) {
    Exec("UPDATE KZ8TSection SET TSecName=" + sql::Text(name) +
         " WHERE TSecCode=" + sql::Text("B"));
    // As a key it matches nothing rather than everything.
    Exec("UPDATE KZ8TSection SET TSecHOffice=1 WHERE TSecCode=" + sql::Text(name));
    EXPECT_EQ(Scalar("SELECT TSecName FROM KZ8TSection WHERE TSecCode='B'"), name);
    EXPECT_EQ(Scalar("SELECT COUNT(*) || ' ' || SUM(TSecHOffice) || MIN(TSecName) FROM "
                     "KZ8TSection WHERE TSecCode<>'B'"),
              "2 16.5x");
  }
}

KZ8_INSTANTIATE_DB_TEST(SqlOnDatabase);

}  // namespace
}  // namespace kz8test
