// What a planner's transaction guarantees on both database kinds: a failed
// statement does not spoil the rest of the document, and an error inside a
// caller's transaction leaves the decision to the caller.
#include "common/Text.h"
#include "host/db/Pool.h"
#include "host/services/SettingTools.h"
#include "support/Errors.h"
#include "support/TestDb.h"

namespace kz8test {
namespace {

class TransactionTest : public DbTest {
 protected:
  void Book(const std::string& no) {
    data_->ExecuteSQL("INSERT INTO KZ8TMPS (TMPSNo, TMPSHour) VALUES ('" + no + "', 1)");
  }
  std::string Booked() { return Values("SELECT TMPSNo FROM KZ8TMPS ORDER BY TMPSNo"); }
};

TEST_P(TransactionTest, FailedStatementLeavesTheRestOfTheDocumentToCommit) {
  data_->BeginTrans();
  Book("M1");
  const auto e = ErrorFrom([&] { Book("M1"); });  // the same reservation number again
  ASSERT_TRUE(e) << "a duplicate key was accepted";
  // What the order-creating methods catch: the database's own code and the statement.
  EXPECT_EQ(e->Sql(), "INSERT INTO KZ8TMPS (TMPSNo, TMPSHour) VALUES ('M1', 1)");
  EXPECT_EQ(e->NativeCode(), IsPostgres() ? "23505" : "SQLITE 1555");
  EXPECT_NE(e->Number(), 0);
  EXPECT_THAT(kz8mrp::text::ToLower(e->Text()), HasSubstr("kz8tmps"));
  // ...and go on writing the approval record in the same transaction.
  kz8mrp::host::ApprovalRecord record;
  record.document_no = "PD1";
  record.when = data_->Now();
  kz8mrp::host::SettingTools().LogApproval(record, data_->Connection());
  Book("M2");
  data_->CommitTrans();
  EXPECT_EQ(Booked(), "M1;M2");
  EXPECT_EQ(Scalar("SELECT TAplDocNo FROM KZ8TApproveLog"), "PD1");
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
  {
    const kz8mrp::db::PooledConnection other(connection_string_);
    EXPECT_EQ(other->Query("SELECT * FROM KZ8TMPS").rows.size(), 1u);
  }
  EXPECT_EQ(Booked(), "M1");
  data_->RollbackTrans();  // drops M3 only
  EXPECT_EQ(data_->TransactionDepth(), 1);
  Book("M4");
  data_->CommitTrans();
  EXPECT_EQ(data_->TransactionDepth(), 0);
  EXPECT_EQ(Booked(), "M1;M2;M4");
  EXPECT_THROW(data_->CommitTrans(), kz8mrp::Error);
}

TEST_P(TransactionTest, ErrorInsideCallersTransactionIsLeftToTheCaller) {
  const auto working_method = [&] {
    Book("M2");
    data_->ExecuteSQL("UPDATE KZ8TNoSuchTable SET x=1");
  };
  data_->BeginTrans();
  Book("M1");
  const auto e = ErrorFrom(working_method);
  ASSERT_TRUE(e) << "a missing table was written";
  EXPECT_EQ(e->NativeCode(), IsPostgres() ? "42P01" : "SQLITE 1");
  EXPECT_THAT(kz8mrp::text::ToLower(e->Text()), HasSubstr("kz8tnosuchtable"));
  ASSERT_EQ(data_->TransactionDepth(), 1);
  EXPECT_EQ(Booked(), "no row");  // nothing committed yet: another connection sees nothing
  data_->CommitTrans();           // the caller keeps what succeeded
  EXPECT_EQ(Booked(), "M1;M2");

  {
    kz8mrp::db::Transaction tx(data_->Connection());
    Book("M3");
    EXPECT_THROW(working_method(), kz8mrp::Error);  // M2 again
  }  // the guard rolls back when the caller lets the error pass
  EXPECT_EQ(data_->TransactionDepth(), 0);
  EXPECT_EQ(Booked(), "M1;M2");
}

TEST_P(TransactionTest, CommitAfterAFailedTransactionControlIsRefused) {
  if (!IsPostgres()) GTEST_SKIP() << "SQLite keeps a transaction going after any error";
  data_->BeginTrans();
  Book("M1");
  // A failure outside the layer's statement savepoints aborts the server's transaction.
  EXPECT_THROW(data_->Connection().backend().Control("SELECT 1/0"), kz8mrp::Error);
  const auto e = ErrorFrom([&] { data_->CommitTrans(); });
  ASSERT_TRUE(e) << "a commit of an aborted transaction reported success";
  EXPECT_EQ(e->NativeCode(), "25P02");
  EXPECT_EQ(data_->TransactionDepth(), 0);  // the next bracket begins afresh
  EXPECT_EQ(Booked(), "no row");
}

KZ8_INSTANTIATE_DB_TEST(TransactionTest);

}  // namespace
}  // namespace kz8test
