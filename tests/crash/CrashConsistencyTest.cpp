// A planner's change is all or nothing wherever the process dies: the change is
// run on the demo plant in a process killed (as by kill -9) at every statement
// boundary in turn, and after each death the plant holds either the whole
// change or none of it, and its database still checks out whole.
#include "host/schema/Schema.h"
#include "support/Process.h"
#include "support/TestDb.h"

#include <signal.h>

#include <optional>

namespace kz8test {
namespace {

using kz8mrp::db::Connection;

// Every row of every table, in a stable order. Running keys the database assigns are left out: a
// server's sequence moves on even when the row's transaction is rolled back.
std::string Dump(Connection& connection) {
  std::string dump;
  for (const kz8mrp::schema::Table& table : kz8mrp::schema::Tables()) {
    std::string columns;
    for (const kz8mrp::schema::Column& c : table.columns) {
      if (c.type == kz8mrp::schema::Type::Serial) continue;
      columns += (columns.empty() ? "" : ",") + std::string(c.name);
    }
    std::string sql = "SELECT " + columns;
    sql.append(" FROM ").append(table.name).append(" ORDER BY ").append(columns);
    for (const auto& row : connection.Query(sql).rows) {
      dump += table.name;
      for (const auto& value : row) dump.append("|").append(value.AsText());
      dump += '\n';
    }
  }
  return dump;
}

class CrashTest : public DbTest {
 protected:
  // `plant` makes the plant each change starts from: the demo's, or what the whole demo leaves.
  void ExpectAllOrNothing(const std::string& scenario,
                          std::vector<std::string> plant = {"init", "--demo"}) {
    plant.insert(plant.end(), {"--db", ""});
    const auto fresh = [&](const std::string& database) {
      plant.back() = database;
      const Outcome o = RunKz8mrp(plant);
      EXPECT_EQ(o.status, 0) << o.err;
      return database;
    };
    const auto run = [&](const std::string& database, std::optional<int> statements = {}) {
      std::vector<std::string> argv = {KZ8MRP_CRASH_RUN, database, scenario};
      if (statements) argv.push_back(std::to_string(*statements));
      return RunProgram(argv);
    };
    const std::string reference = fresh(AnotherDatabase());
    const std::string before = Dump(*Connection::Open(reference));
    const Outcome whole = run(reference);
    ASSERT_EQ(whole.status, 0) << whole.err;
    const std::string after = Dump(*Connection::Open(reference));
    ASSERT_NE(after, before) << "the change changed nothing";
    const int statements = std::stoi(whole.out);

    std::string database = fresh(connection_string_);
    int done = 0;
    for (int n = 0; n < statements; ++n) {
      const Outcome o = run(database, n);
      // A server that has already looked at the plant's statistics may need a
      // statement fewer: then the run ends whole before its kill comes.
      const bool finished = o.status == 0;
      ASSERT_TRUE(finished || o.status == 128 + SIGKILL)
          << "after statement " << n << ": " << o.err;
      const auto connection = Connection::Open(database);
      // The file's own check of every page and index; a server keeps its files
      // whole whatever happens to a client.
      if (!IsPostgres()) {
        EXPECT_EQ(connection->Query("PRAGMA integrity_check").rows.at(0).at(0).AsText(), "ok");
      }
      const std::string state = Dump(*connection);
      ASSERT_TRUE(!finished || state == after) << "a finished run left part of the change";
      if (state == after) {  // it died after its commit: start again from a fresh plant
        ++done;
        database = fresh(AnotherDatabase());
        continue;
      }
      ASSERT_EQ(state, before) << "part of the change stands after statement " << n;
    }
    std::cout << "[ crash    ] " << scenario << ": killed at each of " << statements
              << " statement boundaries on " << GetParam() << "; " << done << " after its commit\n";
  }
};

TEST_P(CrashTest, JobFromSalesOrder) { ExpectAllOrNothing("job-from-sales-order"); }
TEST_P(CrashTest, ScheduleFromJob) { ExpectAllOrNothing("schedule-from-job"); }
TEST_P(CrashTest, ProductionOrderFromJobLine) {
  ExpectAllOrNothing("production-order-from-job-line", {"demo"});
}
TEST_P(CrashTest, MrpRunOverThePlant) { ExpectAllOrNothing("mrp-run", {"demo"}); }

KZ8_INSTANTIATE_DB_TEST(CrashTest);

}  // namespace
}  // namespace kz8test
