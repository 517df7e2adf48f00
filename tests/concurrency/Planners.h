// Planners at work, each in a session of its own: one draws document numbers,
// another opens approved production orders on the lines of one job, in a
// production book of its own (so that the numbering does not make them wait).
#pragma once

#include <kz8mrp/MRPObject.h>

#include "host/services/SettingTools.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace kz8test {

// Draws numbers of kind "MPS" in book "B1" until at least `count` are committed: three per
// transaction, the third in a step of its own after a step that drew one and was rolled back to its
// savepoint. Every seventh transaction is rolled back whole; every committed one is followed by a
// calendar question through the pool. Returns the committed numbers.
inline std::vector<std::string> DrawNumbers(const std::string& connection_string, int count) {
  kz8mrp::AppObj app;
  kz8mrp::ClientObj client("planner", "PLN", "HQ");
  kz8mrp::DataObj data(connection_string, app, client);
  const kz8mrp::host::SettingTools settings;
  kz8mrp::MRPObject engine;
  const auto date = kz8mrp::OleDate::FromParts(2027, 1, 4);
  std::vector<std::string> committed;
  for (int attempt = 0; static_cast<int>(committed.size()) < count; ++attempt) {
    data.OpenSession();
    data.BeginTrans();
    const auto draw = [&] {
      return settings.NewDocumentNo2("MPS", data.Connection(), date, "HQ", "B1");
    };
    std::vector<std::string> numbers{draw(), draw()};
    data.BeginTrans();
    draw();
    data.RollbackTrans();
    data.BeginTrans();
    numbers.push_back(draw());
    data.CommitTrans();
    if (attempt % 7 == 3) {
      data.RollbackTrans();
    } else {
      data.CommitTrans();
      committed.insert(committed.end(), numbers.begin(), numbers.end());
      // The planner checks the calendar between documents: a pooled read
      // connection, shared with every other session of the program.
      engine.isMRPHoliday(date, "", data);
    }
    data.CloseSession();
  }
  return committed;
}

inline constexpr int kOrderedLines = 4;

// `count` orders in book "B" + `planner`, starting at line `planner` and going
// round the job's lines, for 1, 2 or 3 pieces each. Returns the order numbers.
inline std::vector<std::string> MakeOrders(const std::string& connection_string,
                                           const std::string& job, int planner, int count) {
  kz8mrp::AppObj app;
  kz8mrp::ClientObj client("planner", "PLN", "HQ");
  kz8mrp::DataObj data(connection_string, app, client);
  kz8mrp::MRPObject engine;
  std::vector<std::string> numbers;
  for (int k = 0; k < count; ++k) {
    const int line = 1 + (planner + k) % kOrderedLines;
    std::string no = engine.CreateProductionOrderFromJobLn3(
        job, line, 1, data, app, client, 1 + k % 3, "B" + std::to_string(planner));
    if (no.empty()) throw std::runtime_error("no order for line " + std::to_string(line));
    numbers.push_back(std::move(no));
  }
  return numbers;
}

}  // namespace kz8test
