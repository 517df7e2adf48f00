// A session that notes its bracket calls in order and counts every other use,
// to see what a method asked of it.
#pragma once

#include <kz8mrp/Session.h>

#include <string>
#include <vector>

namespace kz8test {

using Calls = std::vector<std::string>;

inline const Calls kCommitted = {"OpenSession", "BeginTrans", "CommitTrans", "CloseSession"};
inline const Calls kRolledBack = {"OpenSession", "BeginTrans", "RollbackTrans", "CloseSession"};

class WatchedData : public kz8mrp::DataObj {
 public:
  using DataObj::DataObj;

  Calls calls;
  mutable int touches = 0;

// Each bracket operation is noted, then done as the session does it.
#define KZ8_NOTED(Operation)                                          \
  bool Operation() override {                                         \
    return Note(#Operation, [this] { return DataObj::Operation(); }); \
  }
  KZ8_NOTED(OpenSession)
  KZ8_NOTED(BeginTrans)
  KZ8_NOTED(CommitTrans)
  KZ8_NOTED(RollbackTrans)
  KZ8_NOTED(CloseSession)
#undef KZ8_NOTED

  kz8mrp::db::Connection& Connection() override {
    ++touches;
    return DataObj::Connection();
  }
  std::string DatabaseKind() override {
    ++touches;
    return DataObj::DatabaseKind();
  }
  std::string ConnectionString() const override {
    ++touches;
    return DataObj::ConnectionString();
  }
  void ExecuteSQL(const std::string& sql) override {
    ++touches;
    DataObj::ExecuteSQL(sql);
  }

 private:
  template <class F>
  bool Note(const char* name, F base) {
    calls.emplace_back(name);
    const int before = touches;
    const bool ok = base();
    touches = before;  // the base reaching its connection is part of the operation
    return ok;
  }
};

}  // namespace kz8test
