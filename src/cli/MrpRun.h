// A material-requirements run over the plant's products, as the planner reads
// it: each product's finished goods day by day, and where they run short.
#pragma once

#include <kz8mrp/OleDate.h>

#include "cli/ScheduleData.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace kz8mrp::cli {

struct MrpDay {
  OleDate day;
  double closing = 0;  // finished goods at the end of the day
  double received = 0;
  double required = 0;
};

struct MrpProduct {
  std::string code;
  std::string name;
  std::vector<MrpDay> days;  // every day of the range, in order
};

// A product whose finished goods fall below zero in the range.
struct Shortage {
  std::string product;
  OleDate first_day;  // the first day closing below zero
  double lowest = 0;  // the lowest closing balance of the range
};

struct MrpRun {
  DayRange range;
  std::vector<MrpProduct> products;  // in code order, or as named
  std::vector<Shortage> Shortages() const;
};

// Called after each product with the products done and all of them.
using MrpProgress = std::function<void(std::size_t done, std::size_t all)>;

// Computes the day rows of every product of the product master (or only those
// named, each of which must exist) in one transaction, and reads them back.
// An error rolls the whole run back.
MrpRun RunMrp(DataObj& data, const DayRange& range, const std::vector<std::string>& only,
              const MrpProgress& progress);

// The run's range and the shortage list, aligned for a terminal.
std::string ShortageTable(const MrpRun& run);

}  // namespace kz8mrp::cli
