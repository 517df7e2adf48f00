// The daily finished-goods plan of one product: what a run reads for a range of
// days, and the figures it stores per day.
#pragma once

#include <kz8mrp/OleDate.h>

#include <optional>
#include <string>
#include <vector>

namespace kz8mrp {
class DataObj;
}
namespace kz8mrp::host {
class ConvertTools;
}

namespace kz8mrp::mrp {

// The days a run covers: the start and each following day while not later
// than the end, each as its calendar day. Empty when the start is later.
std::vector<OleDate> DaysOfRange(OleDate from, OleDate to);

// Movements of one stock kind over the range: the stock on hand at the end of
// the first day, then what moved on each day (index 0, the first day, unused).
struct KindMovements {
  double opening = 0;
  std::vector<double> per_day;
};

// Everything the figures of a range depend on, read with a few grouped statements.
struct RangeInputs {
  // The stored opening balance of a day fixed by the planner; nullopt where the
  // day has no row or its row is not fixed.
  std::vector<std::optional<double>> fixed_opening;
  // The closing balance of the latest day stored before the range (0 when none).
  double carried_in = 0;
  KindMovements rm, wip, rm_out;
  std::vector<double> received;     // finished goods received each day
  std::vector<double> requirement;  // approved, open jobs' material each day
};

// Reads the inputs of a range. Requirements come through a connection of
// their own, so only committed jobs count.
RangeInputs ReadRangeInputs(DataObj& data, const host::ConvertTools& convert,
                            const std::string& product, const std::vector<OleDate>& days,
                            bool opening_from_caller);

// The stored figures of one day.
struct DayFigures {
  int balance_flag = 0;
  double opening = 0;
  double received = 0;
  double requirement = 0;
  double closing = 0;
  double rm = 0;
  double wip = 0;
  double wip_fg = 0;
  double total = 0;
};

// Carries the balances from day to day. `caller_opening` opens every day at the
// caller's balance, flagged fixed.
std::vector<DayFigures> PlanDays(const RangeInputs& in, std::optional<double> caller_opening);

// Creates or updates the day rows of the range in a few statements. Without
// figures only product, day, row flag and time stamp are written, and an
// existing row keeps its figures.
void WriteDayRows(DataObj& data, const std::string& product, const std::vector<OleDate>& days,
                  const std::vector<DayFigures>& figures);

}  // namespace kz8mrp::mrp
