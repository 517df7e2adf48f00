#pragma once

#include "host/db/Backend.h"
#include "host/db/postgres/PgHandles.h"

#include <string>

namespace kz8mrp::db::postgres {

// One session on a PostgreSQL server through libpq. Inside a transaction every
// statement runs under a savepoint of its own, so that a failed statement
// leaves the transaction usable, as it does on SQLite: the order-creating
// methods catch an error and go on writing in the caller's transaction.
class PostgresBackend final : public Backend {
 public:
  // Sessions wait 30 seconds for a lock unless the server's settings say otherwise.
  PostgresBackend(const std::string& connection_string, OpenMode mode);

  Kind kind() const override { return Kind::PostgreSQL; }
  ResultSet Query(const std::string& sql, const std::vector<Value>& params) override;
  std::int64_t Execute(const std::string& sql, const std::vector<Value>& params) override;
  void ExecuteScript(const std::string& sql) override;
  TableInfo DescribeTable(const std::string& table) override;
  bool Healthy() const override;
  bool InTransaction() const override;
  void Control(const std::string& sql) override;

  std::string Placeholder(int index) const override { return "$" + std::to_string(index); }
  std::string BeginStatement() const override { return "BEGIN"; }

 private:
  ResultPtr Run(const std::string& sql, const std::vector<Value>& params);
  ResultPtr RunAlone(const std::string& sql, const std::vector<Value>& params);
  ResultPtr RunUnderSavepoint(const std::string& sql, const std::vector<Value>& params);

  ConnPtr conn_;
};

}  // namespace kz8mrp::db::postgres
