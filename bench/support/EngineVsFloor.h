// A planning call timed through the engine and against its floor: the
// statements the call sent, replayed straight through the database's own
// client library in the same run. Each program names its plant and its calls;
// this runs them on SQLite and, when KZ8MRP_BENCH_PG holds a connection
// string, on PostgreSQL, and ends with a summary of statements per call and
// the engine/floor ratio.
#pragma once

#include <kz8mrp/MRPObject.h>

#include <functional>
#include <string>
#include <vector>

namespace kz8bench {

// The planner's session on one database.
struct Session {
  std::string connection_string;
  kz8mrp::AppObj app;
  kz8mrp::ClientObj client{"bench", "BEN", "HQ"};
  kz8mrp::DataObj data{connection_string, app, client};
  kz8mrp::MRPObject engine;
  Session(std::string cs, kz8mrp::OleDate now);
};

// Runs `call` inside a transaction of the session, committed when it returns.
void InTransaction(Session& s, const std::function<void()>& call);

struct Work {
  std::string name;
  std::function<void(Session&)> call;
  std::function<void(Session&)> prepare = {};  // untimed, before the first call
};

struct Program {
  // Creates the schema and loads the plant on a database (file or server).
  std::function<void(const std::string& connection_string)> load;
  std::vector<Work> work;
  kz8mrp::OleDate now;  // the session clock
  // For calls that replace thousands of rows each (see Settle).
  bool vacuum_between_calls = false;
  // Runs of each call, shuffled among the other calls' runs, unless the
  // command line says otherwise; the summary shows each call's median.
  int repetitions = 1;
};

// The whole benchmark program; returns its exit status.
int Run(int argc, char** argv, const Program& program);

}  // namespace kz8bench
