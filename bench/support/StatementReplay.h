// The floor a planning call is measured against: the statements the call sent,
// captured once, then sent again straight through the database's own client
// library (prepare, bind, step through every row reading every column,
// finalize), with no engine code around them.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct sqlite3;
struct pg_conn;

namespace kz8bench {

struct RawParam {
  enum class Kind { Null, Integer, Real, Text } kind = Kind::Null;
  long long integer = 0;
  double real = 0;
  std::string text;  // also the text form of numbers, for libpq
};

struct RawStatement {
  int connection;  // the engine's connections, numbered in order of first use
  std::string sql;
  std::vector<RawParam> params;
};

// Runs `call` once and returns every statement it sent, with its parameters
// bound as the engine binds them.
std::vector<RawStatement> Capture(const std::function<void()>& call);

// Counts the connections the statements were sent on.
int ConnectionsUsed(const std::vector<RawStatement>& statements);

class SqliteReplay {
 public:
  SqliteReplay(const std::string& path, std::vector<RawStatement> statements);
  SqliteReplay(const SqliteReplay&) = delete;
  SqliteReplay& operator=(const SqliteReplay&) = delete;
  ~SqliteReplay();
  void Run();

 private:
  std::vector<sqlite3*> connections_;
  std::vector<RawStatement> statements_;
};

class PostgresReplay {
 public:
  PostgresReplay(const std::string& connection_string, std::vector<RawStatement> statements);
  PostgresReplay(const PostgresReplay&) = delete;
  PostgresReplay& operator=(const PostgresReplay&) = delete;
  ~PostgresReplay();
  void Run();

 private:
  std::vector<pg_conn*> connections_;
  std::vector<RawStatement> statements_;
  std::vector<std::vector<const char*>> values_;  // per statement, into statements_' texts
};

}  // namespace kz8bench
