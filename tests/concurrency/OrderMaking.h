// A planner who opens approved production orders on the lines of one job, one
// after another, each in a transaction of its own, in a production book of the
// planner's own (so that the numbering does not make the planners wait).
#pragma once

#include <kz8mrp/MRPObject.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace kz8test {

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
