#pragma once

#include "host/db/Backend.h"
#include "host/db/postgres/PgHandles.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

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
  std::unique_ptr<Cursor> OpenCursor(const std::string& sql,
                                     const std::vector<Value>& params) override;
  // In one round trip, inside a transaction.
  std::vector<std::unique_ptr<Cursor>> OpenCursors(const std::vector<std::string>& sqls) override;
  std::int64_t Execute(const std::string& sql, const std::vector<Value>& params) override;
  // Inside a transaction a held change goes out with the next round trip.
  void ExecuteLater(const std::string& sql, const std::vector<Value>& params) override;
  void SendHeld() override;
  void ExecuteScript(const std::string& sql) override;
  TableInfo DescribeTable(const std::string& table) override;
  bool Healthy() const override;
  bool InTransaction() const override;
  void Control(const std::string& sql) override;

  std::string Placeholder(int index) const override { return "$" + std::to_string(index); }
  std::string BeginStatement() const override { return "BEGIN"; }

  // For the cursors: the next `rows` rows, and a cursor to close with the next
  // statement unless its transaction has ended since it opened.
  ResultPtr Fetch(const std::string& cursor, long rows, const std::string& shown);
  void CloseLater(const std::string& cursor, std::uint64_t transaction);
  std::uint64_t transaction() const { return transaction_; }

 private:
  struct Step {
    std::string sql;
    const std::vector<Value>* params;
    const std::string* shown;    // the caller's statement, named in errors
    bool keep_prepared = false;  // a change sent again and again with other values
  };
  // How a step goes out: as text, or through the statement prepared under `name`
  // (prepared first when `prepare`).
  struct Sending {
    const Step* step;
    std::string name;
    bool prepare = false;
    bool result_wanted = true;
  };

  ResultPtr Run(const std::string& sql, const std::vector<Value>& params,
                bool keep_prepared = false);
  ResultPtr RunAlone(const std::string& sql, const std::vector<Value>& params);
  // The results of `steps`, sent in one round trip under one savepoint, after
  // the changes held back.
  std::vector<ResultPtr> RunUnderSavepoint(const std::vector<Step>& steps);
  std::vector<ResultPtr> Pipeline(const std::vector<Sending>& all, const std::string& shown);
  // Cursors for `sqls`, each bound to `params`, declared in one round trip.
  std::vector<std::unique_ptr<Cursor>> Declare(const std::vector<std::string>& sqls,
                                               const std::vector<Value>& params);
  // Undoes a failed round trip, makes again the held changes that went before
  // the failure (the first `done` of `held`), then throws the failure.
  [[noreturn]] void FailAfter(const PGresult* failed, const std::string& shown,
                              std::vector<std::pair<std::string, std::vector<Value>>> held,
                              std::size_t done);
  // Cursors opened so far may be gone: none is closed by name any more.
  void CursorsClosed();

  // Changes prepared on the server once per session: text -> statement name.
  std::unordered_map<std::string, std::string> prepared_;
  std::uint64_t statements_prepared_ = 0;

  ConnPtr conn_;
  std::vector<std::pair<std::string, std::vector<Value>>> held_;  // changes not yet sent
  std::vector<std::string> closes_;  // cursors walked or given up, still open on the server
  std::uint64_t transaction_ = 0;    // changes whenever open cursors may have closed
  std::uint64_t cursors_opened_ = 0;
};

}  // namespace kz8mrp::db::postgres
