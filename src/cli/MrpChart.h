// An MRP run drawn as one self-contained page: a panel per product with its
// closing finished goods as a line over the days, receipts and requirements as
// bars and the days below zero marked; the products that run short come first.
#pragma once

#include "cli/MrpRun.h"

#include <string>

namespace kz8mrp::cli {

std::string MrpChartPage(const MrpRun& run);

}  // namespace kz8mrp::cli
