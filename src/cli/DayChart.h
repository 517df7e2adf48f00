// What the pages drawn over a range of days share: the days across the page,
// their ticks, a legend and the page around the drawing.
#pragma once

#include "cli/ScheduleData.h"

#include <string>
#include <utility>
#include <vector>

namespace kz8mrp::cli {

// The days of the range across the page: names on the left, then the days.
// Both day charts share one frame: names on the left, the days across.
inline constexpr double kChartLeft = 170;
inline constexpr double kChartAxisWidth = 1070;
inline constexpr double kChartTop = 56;

struct DayScale {
  DayRange range;
  double left;
  double day_width;
  DayScale(const DayRange& days, double left_edge, double width);
  double X(OleDate d) const { return left + d.DaysSince(range.first) * day_width; }
  double Right() const { return X(range.End()); }
};

// Day ticks while a day is wide enough to name, then weeks (from Monday), then
// months; the lines run from `top` down to `bottom`.
std::string DayAxis(const DayScale& scale, double top, double bottom);

// A row of keys, each a swatch of a CSS class and its name.
std::string Legend(const std::vector<std::pair<const char*, const char*>>& keys, double x,
                   double y);

// The whole page: a heading and one drawing that states its scale in data-
// attributes, styled by the shared style and `style`; nothing is fetched.
std::string DayChartPage(const std::string& title, const char* style, const DayScale& scale,
                         double height, const std::string& drawing);

}  // namespace kz8mrp::cli
