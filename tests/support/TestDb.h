// One suite, two databases: database tests derive from DbTest and are
// instantiated with KZ8_INSTANTIATE_DB_TEST(Suite); they run on a fresh SQLite
// file and, when the test command started one, on a PostgreSQL server.
#pragma once

#include <kz8mrp/MRPObject.h>
#include <kz8mrp/PickList.h>

#include "host/db/Connection.h"
#include "host/db/Rows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kz8test {

using ::testing::HasSubstr;
using ::testing::Not;

// "sqlite", and "postgresql" when KZ8MRP_TEST_PG names a server.
std::vector<std::string> Backends();
std::string BackendName(const ::testing::TestParamInfo<std::string>& info);

class DbTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override;
  void TearDown() override;

  bool IsPostgres() const { return GetParam() == "postgresql"; }
  // A further fresh database with the whole schema, removed with the test's own.
  std::string AnotherDatabase();
  // Runs a statement on the fixture's own connection (autocommit).
  void Exec(const std::string& sql) { fixture_connection().Execute(sql); }
  kz8mrp::db::ResultSet Query(const std::string& sql) { return fixture_connection().Query(sql); }
  // A single value of a query, as text ("" for no row or null).
  std::string Scalar(const std::string& sql);
  // Every row of a query: columns joined by '|', rows by ';', a null as "null".
  std::string Values(const std::string& sql);
  void Insert(std::string_view table, const kz8mrp::db::RowValues& values) {
    kz8mrp::db::InsertRow(fixture_connection(), table, values);
  }
  // Rows of one table: the columns named once, then the values of each row.
  void InsertRows(std::string_view table, const std::vector<std::string_view>& columns,
                  const std::vector<std::vector<kz8mrp::db::Value>>& rows);
  void Setting(const std::string& key, const std::string& value);
  kz8mrp::db::Connection& fixture_connection() { return *connection_; }
  // Runs a TR method as a host does: inside the session's transaction.
  template <class F>
  auto InTransaction(F&& f) {
    data_->BeginTrans();
    auto result = f();
    data_->CommitTrans();
    return result;
  }
  // Answers every pick list with `rows` and keeps the last list shown in shown_.
  void AnswerPickLists(const std::vector<std::size_t>& rows) {
    app_.SetPickListHandler([this, rows](const kz8mrp::PickList& list) {
      shown_ = list;
      return rows;
    });
  }

  std::string connection_string_;
  kz8mrp::AppObj app_;
  kz8mrp::ClientObj client_{"planner", "PLN", "HQ"};
  std::unique_ptr<kz8mrp::DataObj> data_;
  kz8mrp::MRPObject engine_;
  kz8mrp::PickList shown_;

 private:
  std::string FreshDatabase();  // empty, with the whole schema, of the test's kind
  std::unique_ptr<kz8mrp::db::Connection> connection_;
  std::vector<std::string> others_;
};

}  // namespace kz8test

#define KZ8_INSTANTIATE_DB_TEST(Suite)                                          \
  INSTANTIATE_TEST_SUITE_P(Db, Suite, ::testing::ValuesIn(kz8test::Backends()), \
                           kz8test::BackendName)
