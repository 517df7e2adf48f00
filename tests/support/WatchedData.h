// A session that notes its bracket calls in order, to see which ones a method made.
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

// Each bracket operation is noted, then done as the session does it.
#define KZ8_NOTED(Operation)        \
  bool Operation() override {       \
    calls.emplace_back(#Operation); \
    return DataObj::Operation();    \
  }
  KZ8_NOTED(OpenSession)
  KZ8_NOTED(BeginTrans)
  KZ8_NOTED(CommitTrans)
  KZ8_NOTED(RollbackTrans)
  KZ8_NOTED(CloseSession)
#undef KZ8_NOTED
};

}  // namespace kz8test
