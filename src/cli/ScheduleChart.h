// The machine schedule drawn as one self-contained page: a row per section, a
// bar per reservation, holidays and office hours shaded, a legend. No script,
// and nothing the page would fetch.
#pragma once

#include "cli/ScheduleData.h"

#include <string>

namespace kz8mrp::cli {

std::string ScheduleChartPage(const Schedule& schedule);

// The same bookings as a table per section, for the terminal.
std::string ScheduleTable(const Schedule& schedule);

}  // namespace kz8mrp::cli
