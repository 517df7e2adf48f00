// How a PostgreSQL session behaves when its server goes away or cannot be
// reached, and the address form of its connection string.
#include "host/db/Pool.h"
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

class ServerSessionTest : public DbTest {
 protected:
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

  // The fixture's database as a postgresql:// address: its settings go in the
  // query, unquoted, none of them holding a space or a quote.
  std::string AsUri() {
    std::string uri = "postgresql://?" + connection_string_;
    std::erase(uri, '\'');
    std::replace(uri.begin(), uri.end(), ' ', '&');
    return uri;
  }
};

TEST_P(ServerSessionTest, ServerEndingTheSessionGivesAClearErrorAndLeavesThePool) {
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

TEST_P(ServerSessionTest, UnreachableServerFailsInsteadOfHanging) {
  if (!IsPostgres()) GTEST_SKIP() << "an embedded database has no server to reach";
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

TEST_P(ServerSessionTest, AddressFormOpensTheSameDatabase) {
  if (!IsPostgres()) GTEST_SKIP() << "addresses name servers";
  Setting("MRPHourPerDay", "7.5");
  auto connection = kz8mrp::db::Connection::Open(AsUri());
  EXPECT_EQ(connection->KindName(), "POSTGRESQL");
  EXPECT_EQ(connection->Query("SELECT TSetValue FROM KZ8TSetting").rows.at(0).at(0).AsText(),
            "7.5");
}

KZ8_INSTANTIATE_DB_TEST(ServerSessionTest);

}  // namespace
}  // namespace kz8test
