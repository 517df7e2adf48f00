// What the database layer reads and writes, the same on either kind; what a planner's transaction
// guarantees; how a PostgreSQL session behaves when its server goes away or cannot be reached.
#include <kz8mrp/Error.h>

#include "common/Text.h"
#include "host/db/Pool.h"
#include "host/db/Recordset.h"
#include "host/services/ConvertTools.h"
#include "host/services/SettingTools.h"
#include "support/Errors.h"
#include "support/TestDb.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

namespace kz8test {
namespace {

using kz8mrp::OleDate;
using kz8mrp::db::LockType;
using kz8mrp::db::Recordset;
using kz8mrp::db::Value;

class RecordsetTest : public DbTest {
 protected:
  void Sections(const std::vector<std::vector<Value>>& rows) {
    InsertRows("KZ8TSection", {"TSecCode", "TSecHOffice", "TSecName"}, rows);
  }
  Recordset Open(const std::string& sql, LockType lock = LockType::ReadOnly) {
    return Recordset(data_->Connection(), sql, lock);
  }
  static double Number(const std::string& text) {
    return kz8mrp::host::ConvertTools().ToDouble(text);
  }
};

// A recordset holds what its query returned, inside a transaction or not,
// also one opened for writing whose query waits until a row is wanted.
TEST_P(RecordsetTest, WalksASnapshotOfItsRows) {
  for (const auto& [in_transaction, lock] : {std::pair{false, LockType::ReadOnly},
                                             {true, LockType::ReadOnly},
                                             {false, LockType::Optimistic},
                                             {true, LockType::Optimistic}}) {
    Exec("DELETE FROM KZ8TSection");
    Sections({{"A", 1}, {"B", 2}});
    if (in_transaction) data_->BeginTrans();
    Recordset rs = Open(lock == LockType::ReadOnly
                            ? "SELECT TSecCode, TSecHOffice FROM KZ8TSection ORDER BY TSecCode"
                            : "SELECT * FROM KZ8TSection ORDER BY TSecCode",
                        lock);
    data_->ExecuteSQL("INSERT INTO KZ8TSection (TSecCode) VALUES ('C')");
    data_->ExecuteSQL("UPDATE KZ8TSection SET TSecHOffice=TSecHOffice+8 WHERE TSecCode='B'");
    std::string seen;
    for (; !rs.Eof(); rs.MoveNext()) seen += rs.Text("TSecCode") + rs.Text("TSecHOffice");
    EXPECT_EQ(seen, "A1B2");
    EXPECT_EQ(rs.RecordCount(), 2u);
    EXPECT_EQ(ErrorNumberOf([&] { rs.MoveNext(); }), kz8mrp::errc::kNoCurrentRecord);
    EXPECT_EQ(ErrorNumberOf([&] { (void)rs.Field("TSecCode"); }), kz8mrp::errc::kNoCurrentRecord);
    if (in_transaction) data_->RollbackTrans();
  }
}

TEST_P(RecordsetTest, OverwritesTheRowFoundByItsKey) {
  Sections({{"A", 1}, {"B", 2}, {"C", 3}});
  {
    Recordset rs = Open("SELECT * FROM KZ8TSection WHERE TSecCode='B'", LockType::Optimistic);
    rs.Set("tsechoffice", 7.5);
    rs.Set("TSecName", "Bending");
    rs.Update();
    EXPECT_EQ(rs.Text("TSecHOffice"), "7.5");  // the recordset shows what it wrote
  }
  EXPECT_EQ(Values("SELECT TSecCode, TSecHOffice, TSecName FROM KZ8TSection ORDER BY 1"),
            "A|1|null;B|7.5|Bending;C|3|null");

  // A two-column key: only the line named by both columns changes.
  InsertRows("KZ8TInventoryMB", {"TIvbTInvNo", "TIvbLn", "TIvbQuantity"},
             {{"R1", 1, 1}, {"R2", 1, 1}, {"R1", 2, 1}, {"R2", 2, 1}});
  Recordset rs = Open("SELECT * FROM KZ8TInventoryMB WHERE TIvbTInvNo='R2' AND TIvbLn=1",
                      LockType::Optimistic);
  rs.Set("TIvbQuantity", 5);
  rs.Update();
  EXPECT_EQ(Values("SELECT TIvbQuantity FROM KZ8TInventoryMB ORDER BY TIvbTInvNo, TIvbLn"),
            "1;1;5;1");
}

// A new row holds the assigned columns, converted to the columns' declared types.
TEST_P(RecordsetTest, AddsANewRowConvertedToTheColumnTypesAndReadsItInAnyCase) {
  Recordset rs = Open("SELECT * FROM KZ8TSection WHERE 1=0", LockType::Optimistic);
  ASSERT_TRUE(rs.Eof());
  rs.AddNew();
  rs.Set("TSecCode", 42);            // a number into a text column
  rs.Set("TSecHOffice", "");         // an empty text into a number column: not set
  rs.Set("TSecHWithOT1", " 10.5 ");  // a number text into a number column
  rs.Update();
  EXPECT_EQ(rs.Text("TSecCode"), "42");
  EXPECT_EQ(Values("SELECT TSecCode, TSecHOffice, TSecName, TSecHWithOT1 + 1 FROM KZ8TSection"),
            "42|null|null|11.5");

  rs.AddNew();
  rs.Set("TSecCode", "X");
  rs.Set("TSecHOffice", "eight");
  EXPECT_EQ(ErrorNumberOf([&] { rs.Update(); }), kz8mrp::errc::kTypeMismatch);
  EXPECT_EQ(ErrorNumberOf([&] { rs.Set("TSecNoSuch", 2); }), kz8mrp::errc::kItemNotFound);
  Recordset read_only = Open("SELECT * FROM KZ8TSection");
  EXPECT_THROW(read_only.Set("TSecHOffice", 2), kz8mrp::Error);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TSection"), "1");

  // Fields are found in any letter case; a null reads as empty, strictly as an error.
  EXPECT_TRUE(read_only.Field("TSecHOffice").IsNull());
  for (const char* name : {"TSecHOffice", "tsechoffice", "TSECHOFFICE"}) {
    EXPECT_EQ(read_only.Text(name), "");
    EXPECT_EQ(Number(read_only.Text(name)), 0);
  }
  EXPECT_EQ(read_only.Text("tseccode"), "42");
  EXPECT_EQ(ErrorNumberOf([&] { (void)read_only.Field("TSecName").AsNumber(); }),
            kz8mrp::errc::kInvalidUseOfNull);
  EXPECT_EQ(ErrorNumberOf([&] { (void)read_only.Field("NoSuchColumn"); }),
            kz8mrp::errc::kItemNotFound);
  // The first column of a name wins.
  EXPECT_EQ(Open("SELECT TSecCode AS Code, TSecName AS code FROM KZ8TSection").Text("CODE"), "42");
}

// Texts in Thai, every digit of a double, a number given as text, a blank
// number as null, the seconds of a time.
TEST_P(RecordsetTest, ValuesComeBackAsTheyWereWritten) {
  Recordset rs = Open("SELECT * FROM KZ8TMPS WHERE 1=0", LockType::Optimistic);
  rs.AddNew();
  rs.Set("TMPSNo", "M1");
  rs.Set("TMPSTSecCode", "ตัด");
  rs.Set("TMPSHour", 0.1 + 0.2);
  rs.Set("TMPSYear", "2027");
  rs.Set("TMPSStatus", "");
  rs.Set("TMPSStartDate", OleDate::FromParts(2027, 1, 4, 8, 0, 1));
  rs.Update();
  const Recordset back = Open(
      "SELECT TMPSTSecCode, TMPSHour, TMPSYear, TMPSStatus, TMPSStartDate, TMPSHour*2 AS "
      "Twice, TMPSYear=2027 AS IsThisYear FROM KZ8TMPS");
  EXPECT_EQ(
      (std::vector<Value>{back.Field("TMPSTSecCode"), back.Field("tmpshour"),
                          back.Field("TMPSYear"), back.Field("TMPSStatus"), back.Field("Twice")}),
      (std::vector<Value>{Value("ตัด"), Value(0.1 + 0.2), Value(2027), Value(),
                          Value(0.6000000000000001)}));
  EXPECT_EQ(back.Field("TMPSStartDate").AsText() + "/" + back.Text("IsThisYear"),
            "2027-01-04 08:00:01/1");

  const double values[] = {1.0 / 3, 123456789.123456789, -2.5e-7, 1e300};
  InsertRows("KZ8TInventoryMB", {"TIvbTInvNo", "TIvbLn", "TIvbQuantity"},
             {{"R", 1, values[0]}, {"R", 2, values[1]}, {"R", 3, values[2]}, {"R", 4, values[3]}});
  Recordset numbers = Open("SELECT TIvbQuantity FROM KZ8TInventoryMB ORDER BY TIvbLn");
  for (const double v : values) {
    EXPECT_EQ(numbers.Field("TIvbQuantity").AsNumber(), v);
    EXPECT_EQ(Number(numbers.Text("TIvbQuantity")), v);
    numbers.MoveNext();
  }
}

TEST_P(RecordsetTest, DatesKeepOneFormWriteRowReplacesByKeyCatalogGivesTypes) {
  const OleDate eight = OleDate::FromParts(2027, 1, 4).AddHours(8 - 1e-10);
  InsertRows("KZ8TEmpHoliday", {"TEhdHolidayDate", "TEhdYear"},
             {{eight, 1}, {"2027-01-05", 2}, {OleDate(-1.25), 3}});
  // Joined to a text, the stored value shows its form on either database.
  EXPECT_EQ(Values("SELECT TEhdHolidayDate || '' FROM KZ8TEmpHoliday ORDER BY TEhdYear"),
            "2027-01-04 08:00:00;2027-01-05 00:00:00;1899-12-29 06:00:00");
  // Read back, a date column gives a date.
  const Recordset rs = Open("SELECT * FROM KZ8TEmpHoliday WHERE TEhdYear=3");
  ASSERT_EQ(rs.Field("TEhdHolidayDate").kind(), Value::Kind::Date);
  EXPECT_EQ(rs.Field("TEhdHolidayDate").AsDate().Serial(), -1.25);
  EXPECT_THROW(Insert("KZ8TEmpHoliday", {{"TEhdHolidayDate", "2027-02-30"}}), kz8mrp::Error);

  // Loaders write whole rows: a second row with the same key replaces the first,
  // however its key was spelled.
  Exec("DELETE FROM KZ8TEmpHoliday");
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
  // Converting a number into a column turns on its type: whole apart from real,
  // a date read from the server's catalog.
  const kz8mrp::db::TableInfo& t = c.Table("KZ8TJobMethod");
  EXPECT_EQ(t.Find("TJStLn")->type, kz8mrp::db::ColumnType::Integer);
  EXPECT_EQ(t.Find("TJstPlanStartDate")->type, kz8mrp::db::ColumnType::Date);
}

KZ8_INSTANTIATE_DB_TEST(RecordsetTest);

class TransactionTest : public DbTest {
 protected:
  void Book(const std::string& no) {
    data_->ExecuteSQL("INSERT INTO KZ8TMPS (TMPSNo, TMPSHour) VALUES ('" + no + "', 1)");
  }
  std::string Booked() { return Values("SELECT TMPSNo FROM KZ8TMPS ORDER BY TMPSNo"); }
  std::string BackendPid(kz8mrp::db::Connection& c) {
    return c.Query("SELECT pg_backend_pid()").rows.at(0).at(0).AsText();
  }

  // Ends a server session as an administrator would, and waits until it is gone.
  void Terminate(const std::string& pid) {
    Exec("SELECT pg_terminate_backend(" + pid + ")");
    const std::string alive = "SELECT COUNT(*) FROM pg_stat_activity WHERE pid=" + pid;
    for (int i = 0; i < 500 && Scalar(alive) != "0"; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(Scalar(alive), "0") << "session " << pid << " did not end";
  }
};

// A failed statement, a duplicate reservation or a missing table, names the
// database's own code and the statement; what succeeded around it is the
// caller's to commit or, through the guard, to roll back.
TEST_P(TransactionTest, FailedStatementLeavesTheRestOfTheTransactionToTheCaller) {
  const auto working_method = [&] {
    Book("M2");
    data_->ExecuteSQL("UPDATE KZ8TNoSuchTable SET x=1");
  };
  data_->BeginTrans();
  Book("M1");
  const auto duplicate = ErrorFrom([&] { Book("M1"); });
  const auto missing = ErrorFrom(working_method);
  ASSERT_TRUE(duplicate && missing) << "a duplicate key or a missing table was accepted";
  EXPECT_EQ(duplicate->Sql(), "INSERT INTO KZ8TMPS (TMPSNo, TMPSHour) VALUES ('M1', 1)");
  EXPECT_EQ(duplicate->NativeCode() + "/" + missing->NativeCode(),
            IsPostgres() ? "23505/42P01" : "SQLITE 1555/SQLITE 1");
  EXPECT_NE(duplicate->Number(), 0);
  EXPECT_THAT(kz8mrp::text::ToLower(duplicate->Text()), HasSubstr("kz8tmps"));
  EXPECT_THAT(kz8mrp::text::ToLower(missing->Text()), HasSubstr("kz8tnosuchtable"));
  ASSERT_EQ(data_->TransactionDepth(), 1);
  EXPECT_EQ(Booked(), "no row");  // nothing committed yet: another connection sees nothing
  // The order-creating methods go on writing the approval record.
  kz8mrp::host::ApprovalRecord record;
  record.document_no = "PD1";
  record.when = data_->Now();
  kz8mrp::host::SettingTools().LogApproval(record, data_->Connection());
  Book("M3");
  data_->CommitTrans();
  EXPECT_EQ(Booked(), "M1;M2;M3");
  EXPECT_EQ(Scalar("SELECT TAplDocNo FROM KZ8TApproveLog"), "PD1");
  {
    kz8mrp::db::Transaction tx(data_->Connection());
    Book("M4");
    EXPECT_THROW(working_method(), kz8mrp::Error);  // M2 again
  }  // the guard rolls back when the caller lets the error pass
  EXPECT_EQ(data_->TransactionDepth(), 0);
  EXPECT_EQ(Booked(), "M1;M2;M3");
}

// Inside a batch a change's failure shows by the batch's end at the latest,
// naming its statement: what went before stays, what came after is not made,
// reads see the held changes, and a rollback takes back what was still held.
TEST_P(TransactionTest, BatchedChangesKeepTheirOrderAndTheirErrors) {
  data_->BeginTrans();
  kz8mrp::db::ChangeBatch batch(data_->Connection());
  Book("B1");
  Book("B2");
  EXPECT_EQ(data_->Connection().Query("SELECT COUNT(*) FROM KZ8TMPS").rows.at(0).at(0).AsText(),
            "2");
  const auto failure = ErrorFrom([&] {
    Book("B3");
    Book("B1");
    Book("B4");
    batch.Send();
  });
  ASSERT_TRUE(failure) << "a duplicate reservation was accepted in a batch";
  EXPECT_EQ(failure->Sql(), "INSERT INTO KZ8TMPS (TMPSNo, TMPSHour) VALUES ('B1', 1)");
  kz8mrp::db::ChangeBatch again(data_->Connection());
  data_->BeginTrans();
  Book("B5");
  data_->RollbackTrans();
  Book("B6");
  const auto missing =
      ErrorFrom([&] { data_->Connection().Query("SELECT x FROM KZ8TNoSuchTable"); });
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->Sql(), "SELECT x FROM KZ8TNoSuchTable");  // B6 went before it and stays
  {  // queries opened together read as if opened one after the other
    auto& c = data_->Connection();
    const auto opened = kz8mrp::db::Recordset::OpenTogether(
        c,
        {"SELECT TMPSNo FROM KZ8TMPS ORDER BY TMPSNo DESC", "SELECT COUNT(*) AS n FROM KZ8TMPS"});
    EXPECT_EQ(opened.at(0)->Text("TMPSNo") + opened.at(1)->Text("n"), "B64");
    const auto second = ErrorFrom([&] {
      kz8mrp::db::Recordset::OpenTogether(c, {"SELECT * FROM KZ8TMPS", "SELECT x FROM KZ8TNoSuch"});
    });
    ASSERT_TRUE(second);
    EXPECT_EQ(second->Sql(), "SELECT x FROM KZ8TNoSuch");
  }
  again.Send();
  data_->CommitTrans();
  EXPECT_EQ(Booked(), "B1;B2;B3;B6");
}

// The session's uncommitted rows are its own: another connection reads the
// last committed state, and nested brackets keep or drop their own rows.
TEST_P(TransactionTest, UncommittedRowsAreTheSessionsOwnAndBracketsNest) {
  Book("M1");
  data_->BeginTrans();
  Book("M2");
  data_->BeginTrans();  // a bracketing method called inside the caller's transaction
  Book("M3");
  EXPECT_EQ(data_->Connection().Query("SELECT * FROM KZ8TMPS").rows.size(), 3u);
  EXPECT_EQ(Booked(), "M1");
  data_->RollbackTrans();  // drops M3 only
  EXPECT_EQ(data_->TransactionDepth(), 1);
  Book("M4");
  data_->CommitTrans();
  EXPECT_EQ(data_->TransactionDepth(), 0);
  EXPECT_EQ(Booked(), "M1;M2;M4");
  EXPECT_THROW(data_->CommitTrans(), kz8mrp::Error);
}

// SQLite keeps a transaction going after any error and has no server to lose.
TEST_P(TransactionTest, AbortedTransactionLostOrUnreachableServerGiveClearErrors) {
  if (!IsPostgres()) GTEST_SKIP() << "an embedded database has no server";
  data_->BeginTrans();
  Book("M1");
  // A failure outside the layer's statement savepoints aborts the server's transaction.
  EXPECT_THROW(data_->Connection().backend().Control("SELECT 1/0"), kz8mrp::Error);
  const auto aborted = ErrorFrom([&] { data_->CommitTrans(); });
  ASSERT_TRUE(aborted) << "a commit of an aborted transaction reported success";
  EXPECT_EQ(aborted->NativeCode(), "25P02");
  EXPECT_EQ(data_->TransactionDepth(), 0);  // the next bracket begins afresh
  EXPECT_EQ(Booked(), "no row");

  data_->OpenSession();
  data_->BeginTrans();
  Terminate(BackendPid(data_->Connection()));
  const auto lost = ErrorFrom([&] { data_->ExecuteSQL("UPDATE KZ8TSection SET TSecHOffice=8"); });
  ASSERT_TRUE(lost) << "a statement on a lost session succeeded";
  EXPECT_EQ(lost->NativeCode().substr(0, 2), "57") << lost->NativeCode();  // operator intervention
  EXPECT_THAT(lost->Text(), HasSubstr("connection"));
  EXPECT_FALSE(data_->Connection().backend().Healthy());
  EXPECT_THROW(data_->RollbackTrans(), kz8mrp::Error);
  data_->CloseSession();
  data_->OpenSession();  // a new bracket starts on a new session
  EXPECT_NO_THROW(data_->ExecuteSQL("UPDATE KZ8TSection SET TSecHOffice=8"));
  data_->CloseSession();

  // The pool drops a session the server ended.
  std::string pid;
  {
    const kz8mrp::db::PooledConnection lease(connection_string_);
    pid = BackendPid(*lease);
  }
  Terminate(pid);
  const kz8mrp::db::PooledConnection lease(connection_string_);
  EXPECT_NE(BackendPid(*lease), pid);

  // The fixture's database as a postgresql:// address: its settings go in the
  // query, unquoted, none of them holding a space or a quote.
  std::string uri = "postgresql://?" + connection_string_;
  std::erase(uri, '\'');
  std::replace(uri.begin(), uri.end(), ' ', '&');
  Setting("MRPHourPerDay", "7.5");
  auto connection = kz8mrp::db::Connection::Open(uri);
  EXPECT_EQ(connection->KindName(), "POSTGRESQL");
  EXPECT_EQ(connection->Query("SELECT TSetValue FROM KZ8TSetting").rows.at(0).at(0).AsText(),
            "7.5");
  // A port that takes the connection but never answers, like a server that hangs.
  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{
      .sin_family = AF_INET, .sin_port = 0, .sin_addr = {htonl(INADDR_LOOPBACK)}, .sin_zero = {}};
  socklen_t length = sizeof address;
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
  ASSERT_EQ(::listen(listener, 1), 0);
  ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  const std::string silent = "host=127.0.0.1 port=" + std::to_string(ntohs(address.sin_port)) +
                             " dbname=plant user=planner connect_timeout=2";
  const auto e = ErrorFrom([&] { kz8mrp::db::Connection::Open(silent); });
  ::close(listener);
  ASSERT_TRUE(e) << "a silent server was taken for a database";
  EXPECT_EQ(e->NativeCode(), "08001");
  EXPECT_THAT(e->Text(), HasSubstr("cannot connect"));
  EXPECT_THROW(kz8mrp::db::Connection::Open("host=/nonexistent dbname=plant"), kz8mrp::Error);
}

KZ8_INSTANTIATE_DB_TEST(TransactionTest);

}  // namespace
}  // namespace kz8test
