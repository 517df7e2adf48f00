#include "cli/DayChart.h"

#include "cli/Page.h"

#include <string_view>

namespace kz8mrp::cli {
namespace {

const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

constexpr const char* kSharedStyle = R"(<style>
body { font-family: "Garuda", "Loma", "Noto Sans Thai", "DejaVu Sans", sans-serif; margin: 12px; color: #222; }
h1 { font-size: 18px; margin: 0 0 8px; }
svg text { font-size: 11px; fill: #222; }
.axis line { stroke: #bbb; }
.axis text { fill: #555; }
.row-line { stroke: #ddd; }
.legend text { font-size: 12px; }
</style>)";

std::string TickLabel(OleDate day, bool days, bool weeks) {
  const OleDate::Parts p = day.Split();
  if (days) return std::string(WeekdayName(day)) + " " + std::to_string(p.day);
  if (weeks) return day.DayOfWeek() == 1 ? std::to_string(p.day) + " " + kMonths[p.month - 1] : "";
  return p.day == 1 ? std::string(kMonths[p.month - 1]) + " " + std::to_string(p.year) : "";
}

}  // namespace

DayScale::DayScale(const DayRange& days, double left_edge, double width)
    : range(days), left(left_edge), day_width(width / days.Days()) {}

std::string DayAxis(const DayScale& scale, double top, double bottom) {
  const bool days = scale.day_width >= 30;
  const bool weeks = !days && scale.day_width * 7 >= 44;
  std::string out = "<g class=\"axis\">\n";
  for (OleDate day = scale.range.first; day < scale.range.End(); day = day.AddDays(1)) {
    const std::string label = TickLabel(day, days, weeks);
    if (label.empty()) continue;
    const double x = scale.X(day);
    out += "<line x1=\"" + Px(x) + "\" x2=\"" + Px(x) + "\" y1=\"" + Px(top - 14) + "\" y2=\"" +
           Px(bottom) + "\"/><text x=\"" + Px(x + 3) + "\" y=\"" + Px(top - 4) + "\">" + label +
           "</text>\n";
  }
  return out + "</g>\n";
}

std::string Legend(const std::vector<std::pair<const char*, const char*>>& keys, double x,
                   double y) {
  std::string out = "<g class=\"legend\">\n";
  for (const auto& [css, name] : keys) {
    out += "<rect class=\"" + std::string(css) + "\" x=\"" + Px(x) + "\" y=\"" + Px(y) +
           "\" width=\"14\" height=\"14\"/><text x=\"" + Px(x + 19) + "\" y=\"" + Px(y + 11) +
           "\">" + name + "</text>\n";
    x += 30 + 7.5 * static_cast<double>(std::string_view(name).size());
  }
  return out + "</g>\n";
}

std::string DayChartPage(const std::string& title, const char* style, const DayScale& scale,
                         double height, const std::string& drawing) {
  return "<!DOCTYPE html>\n<html lang=\"th\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src "
         "'unsafe-inline'\">\n<title>" +
         Escape(title) + "</title>\n" + kSharedStyle + "\n" + style + "\n</head>\n<body>\n<h1>" +
         Escape(title) + "</h1>\n" + "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
         Px(scale.Right() + 10) + "\" height=\"" + Px(height) + "\" data-origin-x=\"" +
         Px(scale.left) + "\" data-day-width=\"" + Px(scale.day_width) + "\" data-from=\"" +
         scale.range.first.DateText() + "\">\n" + drawing + "</svg>\n</body>\n</html>\n";
}

}  // namespace kz8mrp::cli
