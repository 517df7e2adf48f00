#include "host/db/postgres/PostgresBackend.h"

#include <kz8mrp/Error.h>

#include "common/Text.h"
#include "host/db/postgres/PostgresError.h"
#include "host/db/postgres/PostgresValues.h"

#include <poll.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <exception>
#include <functional>
#include <string_view>

namespace kz8mrp::db::postgres {
namespace {

// Whatever the connection string says wins over these: they come before it.
// The timeouts keep a vanished server from hanging a planner's workstation.
constexpr const char* kDefaultKeys[] = {
    "connect_timeout",     "keepalives",       "keepalives_idle",
    "keepalives_interval", "keepalives_count", "tcp_user_timeout",
    "application_name",    "dbname",           nullptr};
constexpr const char* kDefaultValues[] = {"10", "1", "30", "10", "3", "30000", "kz8mrp"};

// A change waits for another planner's transaction as long as on SQLite, unless
// the connection string, the role or the database says otherwise.
constexpr const char* kSessionSettings =
    "SET DateStyle='ISO, YMD'; SET client_encoding='UTF8'; SET standard_conforming_strings=on; SET "
    "client_min_messages=warning; SELECT set_config('lock_timeout', '30s', false) FROM pg_settings "
    "WHERE name='lock_timeout' AND source='default'";

constexpr const char* kSavepoint = "SAVEPOINT kz8mrp_statement";
constexpr const char* kRelease = "RELEASE SAVEPOINT kz8mrp_statement";
constexpr const char* kUndo =
    "ROLLBACK TO SAVEPOINT kz8mrp_statement; RELEASE SAVEPOINT kz8mrp_statement";

// Columns of a table or view in column order, with each column's place in the
// primary key (0 when not part of it). Unquoted names fold to lower case.
constexpr const char* kDescribe =
    "SELECT a.attname, t.typname, COALESCE((SELECT k.n FROM pg_index i, "
    "unnest(i.indkey) WITH ORDINALITY AS k(attnum, n) WHERE i.indrelid = c.oid AND "
    "i.indisprimary AND k.attnum = a.attnum), 0) AS pk "
    "FROM pg_class c JOIN pg_attribute a ON a.attrelid = c.oid "
    "JOIN pg_type t ON t.oid = a.atttypid "
    "WHERE c.relname = lower($1) AND c.relkind IN ('r', 'p', 'v', 'm', 'f') "
    "AND pg_table_is_visible(c.oid) AND a.attnum > 0 AND NOT a.attisdropped "
    "ORDER BY a.attnum";

bool Succeeded(const PGresult* r) {
  const ExecStatusType s = r ? PQresultStatus(r) : PGRES_FATAL_ERROR;
  return s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK;
}

// The result of one pipelined statement; the rest of its results are drained.
ResultPtr NextResult(PGconn* conn) {
  ResultPtr first(PQgetResult(conn));
  if (first) {
    while (PGresult* more = PQgetResult(conn)) PQclear(more);
  }
  return first;
}

constexpr std::size_t kMostPrepared = 256;
constexpr std::size_t kMostHeld = 256;

constexpr long kFirstBatch = 16;
constexpr long kLargestBatch = 4096;

std::string FetchText(const std::string& cursor, long rows) {
  return "FETCH " + std::to_string(rows) + " FROM " + cursor;
}

// Only a plain query can stand behind a cursor.
bool IsPlainSelect(const std::string& sql) {
  const std::string_view t = text::Trim(std::string_view(sql));
  return t.size() > 6 && text::EqualsNoCase(t.substr(0, 6), "SELECT") &&
         (t[6] == ' ' || t[6] == '\t' || t[6] == '\n' || t[6] == '\r');
}

// Rows fetched in batches that grow as they are walked: a recordset read at
// its first row costs one small batch, a long walk few round trips.
class PostgresCursor final : public Cursor {
 public:
  PostgresCursor(PostgresBackend& backend, std::string name, std::string sql, ResultPtr first)
      : backend_(backend),
        name_(std::move(name)),
        sql_(std::move(sql)),
        transaction_(backend.transaction()),
        reader_(first.get()),
        batch_(std::move(first)),
        done_(PQntuples(batch_.get()) < asked_) {}
  PostgresCursor(const PostgresCursor&) = delete;
  PostgresCursor& operator=(const PostgresCursor&) = delete;
  PostgresCursor(PostgresCursor&&) = delete;
  PostgresCursor& operator=(PostgresCursor&&) = delete;
  ~PostgresCursor() override { backend_.CloseLater(name_, transaction_); }

  const std::vector<std::string>& Columns() const override { return reader_.Columns(); }
  bool Insensitive() const override { return true; }

  bool Next(std::vector<Value>& row) override {
    while (at_ >= PQntuples(batch_.get())) {
      if (done_) return false;
      asked_ = std::min(asked_ * 4, kLargestBatch);
      batch_ = backend_.Fetch(name_, asked_, sql_);
      at_ = 0;
      done_ = PQntuples(batch_.get()) < asked_;
    }
    row = reader_.Read(batch_.get(), at_++);
    return true;
  }

 private:
  PostgresBackend& backend_;
  std::string name_;
  std::string sql_;
  std::uint64_t transaction_;
  RowReader reader_;
  long asked_ = kFirstBatch;
  ResultPtr batch_;
  int at_ = 0;
  bool done_;
};

}  // namespace

PostgresBackend::PostgresBackend(const std::string& connection_string, OpenMode mode) {
  const char* values[std::size(kDefaultKeys)] = {};
  std::copy(std::begin(kDefaultValues), std::end(kDefaultValues), values);
  values[std::size(kDefaultKeys) - 2] = connection_string.c_str();
  conn_.reset(PQconnectdbParams(kDefaultKeys, values, 1));
  if (!conn_ || PQstatus(conn_.get()) != CONNECTION_OK) Fail(conn_.get(), nullptr, "");
  // Server notices (and the goodbye of a terminated session) reach the caller
  // as errors where they matter; a library must not print them.
  PQsetNoticeProcessor(
      conn_.get(), [](void*, const char*) {}, nullptr);
  // One round trip: the session's settings, then whether the database holds a plant.
  std::string setup = kSessionSettings;
  if (mode == OpenMode::Existing) {
    setup += std::string("; SELECT to_regclass(lower('") + kPlantTable + "')) IS NOT NULL";
  }
  const ResultPtr r(PQexec(conn_.get(), setup.c_str()));
  Check(conn_.get(), r.get(), setup);
  if (mode == OpenMode::Existing && std::string_view(PQgetvalue(r.get(), 0, 0)) != "t") {
    throw Error(errc::kDatabase, std::string("the database ") + PQdb(conn_.get()) +
                                     " holds no plant (kz8mrp init --db with its connection "
                                     "string makes one there)");
  }
}

ResultSet PostgresBackend::Query(const std::string& sql, const std::vector<Value>& params) {
  return ReadResult(Run(sql, params).get());
}

std::int64_t PostgresBackend::Execute(const std::string& sql, const std::vector<Value>& params) {
  // A change with bound values is usually sent again (a row a recordset writes):
  // inside a transaction the server parses and plans it once.
  const ResultPtr r = Run(sql, params, !params.empty());
  return std::strtoll(PQcmdTuples(r.get()), nullptr, 10);
}

void PostgresBackend::ExecuteLater(const std::string& sql, const std::vector<Value>& params) {
  if (PQtransactionStatus(conn_.get()) != PQTRANS_INTRANS) {
    Execute(sql, params);
    return;
  }
  held_.emplace_back(sql, params);
  // A round trip stays small enough that neither side waits for the other to
  // read: the server's answers to a long pipeline would fill its socket.
  if (held_.size() >= kMostHeld) SendHeld();
}

void PostgresBackend::SendHeld() {
  if (!held_.empty()) RunUnderSavepoint({});
}

void PostgresBackend::ExecuteScript(const std::string& sql) {
  SendHeld();
  const ResultPtr r(PQexec(conn_.get(), sql.c_str()));
  Check(conn_.get(), r.get(), sql);
}

void PostgresBackend::Control(const std::string& sql) {
  // A rollback (to a savepoint, too) may close cursors, a commit closes them all;
  // any left open end with the transaction.
  const bool rollback = sql.rfind("ROLLBACK", 0) == 0;
  if (rollback || sql.rfind("COMMIT", 0) == 0) CursorsClosed();
  // Every held change came after the last savepoint, so any rollback undoes it.
  if (rollback) {
    held_.clear();
  } else {
    SendHeld();
  }
  const ResultPtr r(PQexec(conn_.get(), sql.c_str()));
  Check(conn_.get(), r.get(), sql);
  // The server answers COMMIT of an aborted transaction with a rollback, not an error.
  if (sql == "COMMIT" && std::string_view(PQcmdStatus(r.get())) == "ROLLBACK") {
    FailAbortedCommit(sql);
  }
}

TableInfo PostgresBackend::DescribeTable(const std::string& table) {
  TableInfo info;
  info.name = table;
  std::vector<std::pair<double, std::string>> key;
  for (const auto& row : Query(kDescribe, {Value(table)}).rows) {
    info.columns.push_back({row[0].AsText(), TypeOfName(row[1].AsText())});
    if (const double place = row[2].AsNumber(); place > 0) key.emplace_back(place, row[0].AsText());
  }
  std::sort(key.begin(), key.end());
  for (auto& [place, name] : key) info.primary_key.push_back(std::move(name));
  return info;
}

bool PostgresBackend::Healthy() const {
  PGconn* c = conn_.get();
  if (PQstatus(c) != CONNECTION_OK || PQpipelineStatus(c) != PQ_PIPELINE_OFF) return false;
  // An idle session hears from its server only when the server ends it (we
  // use no notifications): anything waiting on the socket is its goodbye.
  pollfd p{PQsocket(c), POLLIN, 0};
  if (::poll(&p, 1, 0) != 0) return false;
  return PQstatus(c) == CONNECTION_OK && PQtransactionStatus(c) == PQTRANS_IDLE;
}

bool PostgresBackend::InTransaction() const {
  return PQtransactionStatus(conn_.get()) != PQTRANS_IDLE;
}

ResultPtr PostgresBackend::Run(const std::string& sql, const std::vector<Value>& params,
                               bool keep_prepared) {
  if (PQtransactionStatus(conn_.get()) == PQTRANS_INTRANS) {
    return std::move(RunUnderSavepoint({{sql, &params, &sql, keep_prepared}}).front());
  }
  CursorsClosed();
  return RunAlone(sql, params);
}

ResultPtr PostgresBackend::RunAlone(const std::string& sql, const std::vector<Value>& params) {
  const ParamTexts p(params);
  ResultPtr r(
      PQexecParams(conn_.get(), sql.c_str(), p.count(), nullptr, p.values(), nullptr, nullptr, 0));
  Check(conn_.get(), r.get(), sql);
  return r;
}

// Every statement of `all` in one round trip; the results in the same order.
std::vector<ResultPtr> PostgresBackend::Pipeline(const std::vector<Sending>& all,
                                                 const std::string& shown) {
  PGconn* c = conn_.get();
  bool sent = PQenterPipelineMode(c) != 0;
  for (const Sending& s : all) {
    const ParamTexts p(*s.step->params);
    if (s.prepare) {
      sent = sent && PQsendPrepare(c, s.name.c_str(), s.step->sql.c_str(), p.count(), nullptr);
    } else if (!s.name.empty()) {
      sent = sent &&
             PQsendQueryPrepared(c, s.name.c_str(), p.count(), p.values(), nullptr, nullptr, 0);
    } else {
      sent = sent && PQsendQueryParams(c, s.step->sql.c_str(), p.count(), nullptr, p.values(),
                                       nullptr, nullptr, 0);
    }
  }
  sent = sent && PQpipelineSync(c);
  std::vector<ResultPtr> results;
  if (sent) {
    for (std::size_t i = 0; i < all.size(); ++i) results.push_back(NextResult(c));
    const ResultPtr sync(PQgetResult(c));
  }
  if (!PQexitPipelineMode(c) || !sent) {
    const PGresult* failed = nullptr;
    for (const ResultPtr& r : results) {
      if (r && !Succeeded(r.get())) failed = failed ? failed : r.get();
    }
    Fail(c, failed, shown);  // the session is unusable
  }
  return results;
}

// The savepoint, the cursors waiting to be closed, the statements and the
// release travel in one round trip, so the savepoint costs server work but no
// extra wait: about a fifth of a short read on a local server (bench_backends,
// ReadInTransaction). Statements outside a transaction, the lookups of every
// calendar question among them, run without it.
std::vector<ResultPtr> PostgresBackend::RunUnderSavepoint(const std::vector<Step>& steps) {
  static const std::vector<Value> kNone;
  std::vector<std::pair<std::string, std::vector<Value>>> held;
  held.swap(held_);
  std::vector<Step> held_steps;
  held_steps.reserve(held.size());
  for (const auto& [sql, params] : held) {
    held_steps.push_back({sql, &params, nullptr, !params.empty()});
    held_steps.back().shown = &held_steps.back().sql;  // reserved: it stays put
  }
  const std::string* shown = held.empty() ? steps.front().shown : held_steps.front().shown;
  std::deque<Step> frame;  // the savepoint, the cursors to close and the release
  std::vector<Sending> all;
  frame.push_back({kSavepoint, &kNone, shown, false});
  all.push_back({&frame.back(), "", false, false});
  std::vector<std::string> closes;
  closes.swap(closes_);
  for (const std::string& name : closes) {
    frame.push_back({"CLOSE " + name, &kNone, shown, false});
    all.push_back({&frame.back(), "", false, false});
  }
  std::vector<std::pair<std::string, std::string>> new_statements;  // text, name
  const auto send = [&](const Step& step, bool result_wanted) {
    if (!step.keep_prepared) {
      all.push_back({&step, "", false, result_wanted});
      return;
    }
    if (const auto it = prepared_.find(step.sql); it != prepared_.end()) {
      all.push_back({&step, it->second, false, result_wanted});
      return;
    }
    // The server keeps every statement prepared for the session: past a bound,
    // new texts go as text.
    if (prepared_.size() + new_statements.size() >= kMostPrepared) {
      all.push_back({&step, "", false, result_wanted});
      return;
    }
    // A new name each time: a statement whose first run failed may or may not
    // be on the server.
    std::string name = "kz8mrp_change" + std::to_string(++statements_prepared_);
    all.push_back({&step, name, true, false});
    all.push_back({&step, name, false, result_wanted});
    new_statements.emplace_back(step.sql, std::move(name));
  };
  for (const Step& step : held_steps) send(step, false);
  // The held changes close their own savepoint: a savepoint holding more than
  // a few locks makes the server walk every lock of the transaction when it
  // is released, and the transaction holds one per savepoint that wrote.
  const bool split = !held_steps.empty() && !steps.empty();
  std::size_t steps_from = all.size();
  if (split) {
    frame.push_back({kRelease, &kNone, shown, false});
    all.push_back({&frame.back(), "", false, false});
    frame.push_back({kSavepoint, &kNone, steps.front().shown, false});
    all.push_back({&frame.back(), "", false, false});
    steps_from = all.size();
  }
  for (const Step& step : steps) send(step, true);
  const std::string* last_shown = steps.empty() ? shown : steps.back().shown;
  frame.push_back({kRelease, &kNone, last_shown, false});
  all.push_back({&frame.back(), "", false, false});

  std::vector<ResultPtr> results = Pipeline(all, *shown);
  PGconn* c = conn_.get();
  if (!Succeeded(results.front().get())) Fail(c, results.front().get(), *shown);
  for (std::size_t i = 1; i + 1 < all.size(); ++i) {
    if (Succeeded(results[i].get())) continue;
    const Step* failed = all[i].step;
    const bool held_failed = !held_steps.empty() &&
                             std::less_equal<const Step*>()(&held_steps.front(), failed) &&
                             std::less_equal<const Step*>()(failed, &held_steps.back());
    // The held changes the undo takes back before the failure are made again;
    // once their own savepoint is released they stay done.
    std::size_t done = held.size();
    if (held_failed) done = static_cast<std::size_t>(failed - held_steps.data());
    if (split && i >= steps_from) done = 0;
    FailAfter(results[i].get(), *failed->shown, std::move(held), done);
  }
  if (!Succeeded(results.back().get())) Fail(c, results.back().get(), *last_shown);
  for (auto& [text, name] : new_statements) prepared_.emplace(std::move(text), std::move(name));
  std::vector<ResultPtr> wanted;
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (all[i].result_wanted) wanted.push_back(std::move(results[i]));
  }
  return wanted;
}

void PostgresBackend::FailAfter(const PGresult* failed, const std::string& shown,
                                std::vector<std::pair<std::string, std::vector<Value>>> held,
                                std::size_t done) {
  std::exception_ptr failure;
  try {
    Fail(conn_.get(), failed, shown);
  } catch (...) {
    failure = std::current_exception();
  }
  const ResultPtr undo(PQexec(conn_.get(), kUndo));  // a failure here shows on the next statement
  held.erase(held.begin() + static_cast<std::ptrdiff_t>(done), held.end());
  held_ = std::move(held);
  SendHeld();
  std::rethrow_exception(failure);
}

// Inside a transaction a query's rows come through a cursor of the server,
// which keeps the view the query had when opened, whatever is changed after.
std::unique_ptr<Cursor> PostgresBackend::OpenCursor(const std::string& sql,
                                                    const std::vector<Value>& params) {
  if (PQtransactionStatus(conn_.get()) != PQTRANS_INTRANS || !IsPlainSelect(sql)) {
    return Backend::OpenCursor(sql, params);
  }
  return std::move(Declare({sql}, params).front());
}

std::vector<std::unique_ptr<Cursor>> PostgresBackend::OpenCursors(
    const std::vector<std::string>& sqls) {
  if (PQtransactionStatus(conn_.get()) != PQTRANS_INTRANS ||
      !std::all_of(sqls.begin(), sqls.end(), IsPlainSelect)) {
    return Backend::OpenCursors(sqls);
  }
  return Declare(sqls, {});
}

// Each query declared as a cursor and its first rows fetched, all in one round trip.
std::vector<std::unique_ptr<Cursor>> PostgresBackend::Declare(const std::vector<std::string>& sqls,
                                                              const std::vector<Value>& params) {
  static const std::vector<Value> kNone;
  std::vector<std::string> names;
  std::vector<Step> steps;
  for (const std::string& sql : sqls) {
    names.push_back("kz8mrp_rows" + std::to_string(++cursors_opened_));
    steps.push_back({"DECLARE " + names.back() + " NO SCROLL CURSOR FOR " + sql, &params, &sql});
    steps.push_back({FetchText(names.back(), kFirstBatch), &kNone, &sql});
  }
  std::vector<ResultPtr> results = RunUnderSavepoint(steps);
  std::vector<std::unique_ptr<Cursor>> cursors;
  for (std::size_t i = 0; i < sqls.size(); ++i) {
    cursors.push_back(
        std::make_unique<PostgresCursor>(*this, names[i], sqls[i], std::move(results[2 * i + 1])));
  }
  return cursors;
}

ResultPtr PostgresBackend::Fetch(const std::string& cursor, long rows, const std::string& shown) {
  static const std::vector<Value> kNone;
  return std::move(RunUnderSavepoint({{FetchText(cursor, rows), &kNone, &shown}}).front());
}

void PostgresBackend::CloseLater(const std::string& cursor, std::uint64_t transaction) {
  if (transaction == transaction_) closes_.push_back(cursor);
}

void PostgresBackend::CursorsClosed() {
  closes_.clear();
  ++transaction_;
}

}  // namespace kz8mrp::db::postgres
