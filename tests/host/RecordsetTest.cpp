#include <kz8mrp/Error.h>

#include "common/Text.h"
#include "host/db/Pool.h"
#include "host/db/Recordset.h"
#include "host/services/ConvertTools.h"
#include "support/Errors.h"
#include "support/TestDb.h"

namespace kz8test {
namespace {

using kz8mrp::OleDate;
using kz8mrp::db::LockType;
using kz8mrp::db::Recordset;

class RecordsetTest : public DbTest {
 protected:
  void AddSection(const std::string& code, double office) {
    Insert("KZ8TSection",
           {{"TSecCode", code}, {"TSecName", code + " line"}, {"TSecHOffice", office}});
  }
  Recordset Open(const std::string& sql, LockType lock = LockType::ReadOnly) {
    return Recordset(data_->Connection(), sql, lock);
  }
};

TEST_P(RecordsetTest, NullReadsAsEmptyTextAndZeroInAnyLetterCase) {
  Insert("KZ8TSection", {{"TSecCode", "CUT"}});
  const Recordset rs = Open("SELECT * FROM KZ8TSection");
  ASSERT_FALSE(rs.Eof());
  EXPECT_TRUE(rs.Field("TSecHOffice").IsNull());
  for (const char* name : {"TSecHOffice", "tsechoffice", "TSECHOFFICE"}) {
    EXPECT_EQ(rs.Text(name), "");
    EXPECT_EQ(kz8mrp::host::ConvertTools().ToDouble(rs.Text(name)), 0);
  }
  EXPECT_EQ(rs.Text("tseccode"), "CUT");
  // Strict reads of a null say so.
  EXPECT_EQ(ErrorNumberOf([&] { (void)rs.Field("TSecName").AsNumber(); }),
            kz8mrp::errc::kInvalidUseOfNull);
  EXPECT_EQ(ErrorNumberOf([&] { (void)rs.Field("NoSuchColumn"); }), kz8mrp::errc::kItemNotFound);
}

TEST_P(RecordsetTest, FirstColumnOfANameWins) {
  AddSection("CUT", 8);
  const Recordset rs =
      Open("SELECT TSecCode AS Code, TSecName AS code, TSecHOffice AS CODE FROM KZ8TSection");
  EXPECT_EQ(rs.Text("CODE"), "CUT");
  EXPECT_EQ(rs.Text("code"), "CUT");
}

TEST_P(RecordsetTest, WalksItsRowsAndStopsAtTheEnd) {
  AddSection("A", 1);
  AddSection("B", 2);
  Recordset rs = Open("SELECT TSecCode FROM KZ8TSection ORDER BY TSecCode");
  EXPECT_EQ(rs.RecordCount(), 2u);
  std::string seen;
  for (; !rs.Eof(); rs.MoveNext()) seen += rs.Text("TSecCode");
  EXPECT_EQ(seen, "AB");
  EXPECT_EQ(ErrorNumberOf([&] { rs.MoveNext(); }), kz8mrp::errc::kNoCurrentRecord);
  EXPECT_EQ(ErrorNumberOf([&] { (void)rs.Field("TSecCode"); }), kz8mrp::errc::kNoCurrentRecord);
}

// A recordset holds what its query returned, whatever happens after.
TEST_P(RecordsetTest, IsASnapshot) {
  AddSection("A", 1);
  Recordset rs = Open("SELECT * FROM KZ8TSection");
  data_->ExecuteSQL("INSERT INTO KZ8TSection (TSecCode) VALUES ('B')");
  Exec("UPDATE KZ8TSection SET TSecHOffice=9 WHERE TSecCode='A'");
  EXPECT_EQ(rs.RecordCount(), 1u);
  EXPECT_EQ(rs.Text("TSecHOffice"), "1");
  rs.MoveNext();
  EXPECT_TRUE(rs.Eof());
}

TEST_P(RecordsetTest, OverwritesTheRowFoundByItsKey) {
  AddSection("A", 1);
  AddSection("B", 2);
  AddSection("C", 3);
  {
    Recordset rs = Open("SELECT * FROM KZ8TSection WHERE TSecCode='B'", LockType::Optimistic);
    ASSERT_FALSE(rs.Eof());
    rs.Set("tsechoffice", 7.5);
    rs.Set("TSecName", "Bending");
    rs.Update();
    EXPECT_EQ(rs.Text("TSecHOffice"), "7.5");  // the recordset shows what it wrote
  }
  EXPECT_EQ(Scalar("SELECT TSecHOffice || '/' || TSecName FROM KZ8TSection WHERE TSecCode='B'"),
            "7.5/Bending");
  EXPECT_EQ(Scalar("SELECT SUM(TSecHOffice) FROM KZ8TSection WHERE TSecCode<>'B'"), "4");

  // A two-column key: only the line named by both columns changes.
  for (int ln = 1; ln <= 2; ++ln) {
    for (const char* doc : {"R1", "R2"}) {
      Insert("KZ8TInventoryMB", {{"TIvbTInvNo", doc}, {"TIvbLn", ln}, {"TIvbQuantity", 1}});
    }
  }
  Recordset rs = Open("SELECT * FROM KZ8TInventoryMB WHERE TIvbTInvNo='R2' AND TIvbLn=1",
                      LockType::Optimistic);
  rs.Set("TIvbQuantity", 5);
  rs.Update();
  EXPECT_EQ(Scalar("SELECT SUM(TIvbQuantity) FROM KZ8TInventoryMB"), "8");
  EXPECT_EQ(Scalar("SELECT TIvbQuantity FROM KZ8TInventoryMB WHERE TIvbTInvNo='R2' AND TIvbLn=1"),
            "5");
}

TEST_P(RecordsetTest, AddsANewRowOfTheAssignedColumns) {
  Recordset rs = Open("SELECT * FROM KZ8TSection WHERE TSecCode='N'", LockType::Optimistic);
  ASSERT_TRUE(rs.Eof());
  rs.AddNew();
  rs.Set("TSecCode", "N");
  rs.Set("TSecHOffice", 6);
  rs.Update();
  EXPECT_FALSE(rs.Eof());
  EXPECT_EQ(rs.Text("TSecCode"), "N");
  EXPECT_EQ(Scalar("SELECT TSecHOffice FROM KZ8TSection WHERE TSecCode='N'"), "6");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TSection WHERE TSecName IS NULL"), "1");

  // A row whose key is taken is refused by the database, with its own code.
  rs.AddNew();
  rs.Set("TSecCode", "N");
  try {
    rs.Update();
    ADD_FAILURE() << "duplicate key accepted";
  } catch (const kz8mrp::Error& e) {
    EXPECT_FALSE(e.NativeCode().empty());
    EXPECT_NE(e.Sql().find("INSERT INTO KZ8TSection"), std::string::npos);
  }
}

TEST_P(RecordsetTest, ReadOnlyRecordsetsAndForeignColumnsAreRefused) {
  AddSection("A", 1);
  Recordset ro = Open("SELECT * FROM KZ8TSection");
  EXPECT_THROW(ro.Set("TSecHOffice", 2), kz8mrp::Error);
  Recordset rw = Open("SELECT * FROM KZ8TSection", LockType::Optimistic);
  EXPECT_EQ(ErrorNumberOf([&] { rw.Set("TSecNoSuch", 2); }), kz8mrp::errc::kItemNotFound);
  EXPECT_EQ(Scalar("SELECT TSecHOffice FROM KZ8TSection"), "1");
}

// Values are converted to the column's declared type before they are written.
TEST_P(RecordsetTest, WritingConvertsToTheColumnType) {
  Recordset rs = Open("SELECT * FROM KZ8TSection WHERE 1=0", LockType::Optimistic);
  rs.AddNew();
  rs.Set("TSecCode", 42);            // a number into a text column
  rs.Set("TSecHOffice", "");         // an empty text into a number column: not set
  rs.Set("TSecHWithOT1", " 10.5 ");  // a number text into a number column
  rs.Update();
  EXPECT_EQ(Scalar("SELECT TSecCode FROM KZ8TSection"), "42");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TSection WHERE TSecHOffice IS NULL"), "1");
  EXPECT_EQ(Scalar("SELECT TSecHWithOT1 + 1 FROM KZ8TSection"), "11.5");

  rs.AddNew();
  rs.Set("TSecCode", "X");
  rs.Set("TSecHOffice", "eight");
  EXPECT_EQ(ErrorNumberOf([&] { rs.Update(); }), kz8mrp::errc::kTypeMismatch);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TSection"), "1");
}

TEST_P(RecordsetTest, DatesAreStoredWithTheirTimeInOneForm) {
  const OleDate eight = OleDate::FromParts(2027, 1, 4).AddHours(8 - 1e-10);
  Insert("KZ8TEmpHoliday", {{"TEhdHolidayDate", eight}, {"TEhdYear", 1}});
  Insert("KZ8TEmpHoliday", {{"TEhdHolidayDate", "2027-01-05"}, {"TEhdYear", 2}});
  Insert("KZ8TEmpHoliday", {{"TEhdHolidayDate", OleDate(-1.25)}, {"TEhdYear", 3}});
  // Joined to a text, the stored value shows its form on either database.
  EXPECT_EQ(Scalar("SELECT TEhdHolidayDate || '' FROM KZ8TEmpHoliday WHERE TEhdYear=1"),
            "2027-01-04 08:00:00");
  EXPECT_EQ(Scalar("SELECT TEhdHolidayDate || '' FROM KZ8TEmpHoliday WHERE TEhdYear=2"),
            "2027-01-05 00:00:00");
  EXPECT_EQ(Scalar("SELECT TEhdHolidayDate || '' FROM KZ8TEmpHoliday WHERE TEhdYear=3"),
            "1899-12-29 06:00:00");
  // Read back, a date column gives a date.
  const Recordset rs = Open("SELECT * FROM KZ8TEmpHoliday WHERE TEhdYear=3");
  ASSERT_EQ(rs.Field("TEhdHolidayDate").kind(), kz8mrp::db::Value::Kind::Date);
  EXPECT_EQ(rs.Field("TEhdHolidayDate").AsDate().Serial(), -1.25);
  EXPECT_THROW(Insert("KZ8TEmpHoliday", {{"TEhdHolidayDate", "2027-02-30"}}), kz8mrp::Error);
}

// Loaders write whole rows: a second row with the same key replaces the first,
// however its key was spelled.
TEST_P(RecordsetTest, WriteRowReplacesTheRowOfItsKey) {
  kz8mrp::db::Connection& c = data_->Connection();
  kz8mrp::db::WriteRow(c, "KZ8TEmpHoliday", {{"TEhdHolidayDate", "2027-01-01"}, {"TEhdYear", 1}});
  kz8mrp::db::WriteRow(c, "KZ8TEmpHoliday", {{"TEhdHolidayDate", "2027-01-01"}, {"TEhdYear", 2}});
  kz8mrp::db::WriteRow(c, "KZ8TEmpHoliday",
                       {{"TEhdHolidayDate", OleDate::FromParts(2027, 1, 1)}, {"TEhdYear", 3}});
  EXPECT_EQ(Scalar("SELECT COUNT(*) || '/' || MAX(TEhdYear) FROM KZ8TEmpHoliday"), "1/3");
  kz8mrp::db::WriteRow(c, "KZ8TSection", {{"TSecCode", "A"}, {"TSecHOffice", 8}});
  kz8mrp::db::WriteRow(c, "KZ8TSection", {{"tseccode", "A"}, {"TSecName", "Assembly"}});
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TSection WHERE TSecHOffice IS NULL"), "1");
  EXPECT_THROW(kz8mrp::db::WriteRow(c, "KZ8TSection", {{"TSecName", "no key"}}), kz8mrp::Error);
}

TEST_P(RecordsetTest, NumbersReadBackExactly) {
  const double values[] = {0.1 + 0.2, 1.0 / 3, 123456789.123456789, -2.5e-7, 1e300};
  int n = 0;
  for (const double v : values) {
    Insert("KZ8TInventoryMB", {{"TIvbTInvNo", "R"}, {"TIvbLn", ++n}, {"TIvbQuantity", v}});
  }
  Recordset rs = Open("SELECT TIvbQuantity FROM KZ8TInventoryMB ORDER BY TIvbLn");
  for (const double v : values) {
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(rs.Field("TIvbQuantity").AsNumber(), v);
    EXPECT_EQ(kz8mrp::host::ConvertTools().ToDouble(rs.Text("TIvbQuantity")), v);
    rs.MoveNext();
  }
}

// The session's uncommitted rows are its own: a second connection reads the
// last committed state, and nested brackets keep or drop their own rows.
TEST_P(RecordsetTest, TransactionsAreIsolatedAndNest) {
  AddSection("A", 1);
  data_->BeginTrans();
  data_->ExecuteSQL("INSERT INTO KZ8TSection (TSecCode) VALUES ('B')");
  data_->BeginTrans();
  data_->ExecuteSQL("INSERT INTO KZ8TSection (TSecCode) VALUES ('C')");
  EXPECT_EQ(Open("SELECT * FROM KZ8TSection").RecordCount(), 3u);
  {
    const kz8mrp::db::PooledConnection other(connection_string_);
    EXPECT_EQ(other->Query("SELECT * FROM KZ8TSection").rows.size(), 1u);
  }
  EXPECT_EQ(Query("SELECT * FROM KZ8TSection").rows.size(), 1u);
  data_->RollbackTrans();  // drops C only
  EXPECT_EQ(data_->TransactionDepth(), 1);
  data_->CommitTrans();
  EXPECT_EQ(data_->TransactionDepth(), 0);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TSection"), "2");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TSection WHERE TSecCode='C'"), "0");
  EXPECT_THROW(data_->CommitTrans(), kz8mrp::Error);
}

TEST_P(RecordsetTest, DatabaseErrorsReachTheCallerWithTheirCode) {
  try {
    data_->ExecuteSQL("UPDATE KZ8TNoSuchTable SET x=1");
    ADD_FAILURE() << "no error";
  } catch (const kz8mrp::Error& e) {
    EXPECT_NE(e.Number(), 0);
    EXPECT_FALSE(e.NativeCode().empty());
    EXPECT_NE(kz8mrp::text::ToLower(e.what()).find("kz8tnosuchtable"), std::string::npos);
    EXPECT_EQ(e.Sql(), "UPDATE KZ8TNoSuchTable SET x=1");
  }
}

KZ8_INSTANTIATE_DB_TEST(RecordsetTest);

}  // namespace
}  // namespace kz8test
