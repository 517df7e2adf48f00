// What a planner's transaction guarantees on both database kinds: a failed
// statement does not spoil the rest of the document, and an error inside a
// caller's transaction leaves the decision to the caller. How a PostgreSQL
// session behaves when its server goes away or cannot be reached.
#include "common/Text.h"
#include "host/db/Pool.h"
#include "host/services/SettingTools.h"
#include "support/Errors.h"
#include "support/TestDb.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace kz8test {
namespace {

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
    for (int i = 0; i < 500; ++i) {
      if (Scalar("SELECT COUNT(*) FROM pg_stat_activity WHERE pid=" + pid) == "0") return;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    FAIL() << "session " << pid << " did not end";
  }
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

TEST_P(TransactionTest, ServerEndingTheSessionGivesAClearErrorAndLeavesThePool) {
  if (!IsPostgres()) GTEST_SKIP() << "an embedded database has no server to lose";
  data_->OpenSession();
  data_->BeginTrans();
  Terminate(BackendPid(data_->Connection()));
  const auto e = ErrorFrom([&] { data_->ExecuteSQL("UPDATE KZ8TSection SET TSecHOffice=8"); });
  ASSERT_TRUE(e) << "a statement on a lost session succeeded";
  EXPECT_EQ(e->NativeCode().substr(0, 2), "57") << e->NativeCode();  // operator intervention
  EXPECT_THAT(e->Text(), HasSubstr("connection"));
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
}

TEST_P(TransactionTest, AddressFormOpensTheDatabaseAndUnreachableServerFails) {
  if (!IsPostgres()) GTEST_SKIP() << "an embedded database has no server to reach";
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
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
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
