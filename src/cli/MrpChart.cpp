#include "cli/MrpChart.h"

#include "cli/DayChart.h"
#include "cli/Page.h"
#include "common/Text.h"

#include <algorithm>
#include <map>

namespace kz8mrp::cli {
namespace {

constexpr double kPlotHeight = 90;
constexpr double kPadding = 12;

constexpr const char* kStyle = R"(<style>
.short { fill: #f4c7c3; fill-opacity: 0.7; }
.zero { stroke: #888; stroke-width: 0.75; }
.received { fill: #4caf6a; }
.required { fill: #e07b39; }
.closing { fill: none; stroke: #1f4e9a; stroke-width: 1.75; }
.point { fill: #1f4e9a; }
.key-closing { fill: #1f4e9a; }
.value { fill: #777; font-size: 10px; text-anchor: end; }
.note-short { fill: #b3261e; }
.note-fine { fill: #666; }
</style>)";

const std::vector<std::pair<const char*, const char*>> kKeys = {
    {"key-closing", "finished goods at day end"},
    {"received", "received"},
    {"required", "required"},
    {"short", "below zero"}};

// Quantities up the panel from its zero line, the same for line and bars.
struct ValueScale {
  double zero_y;
  double unit;  // pixels per piece
  double Y(double quantity) const { return zero_y - quantity * unit; }
};

ValueScale ValuesOf(const MrpProduct& p, double top, double& highest, double& lowest) {
  highest = 0;
  lowest = 0;
  for (const MrpDay& d : p.days) {
    highest = std::max({highest, d.closing, d.received});
    lowest = std::min({lowest, d.closing, -d.required});
  }
  // Nothing moves: a flat line along the foot of the panel.
  const double unit = kPlotHeight / (highest > lowest ? highest - lowest : 1);
  return {top + kPlotHeight + lowest * unit, unit};
}

std::string Rect(const char* css, double x, double y, double width, double height,
                 const std::string& tooltip, const std::string& day = {}) {
  return "<rect class=\"" + std::string(css) + "\"" +
         (day.empty() ? "" : " data-day=\"" + day + "\"") + " x=\"" + Px(x) + "\" y=\"" + Px(y) +
         "\" width=\"" + Px(width) + "\" height=\"" + Px(height) + "\"><title>" + Escape(tooltip) +
         "</title></rect>\n";
}

// Each run of days closing below zero as one band over the panel.
std::string ShortDays(const MrpProduct& p, const DayScale& s, double top) {
  std::string out;
  for (auto it = p.days.begin(); it != p.days.end();) {
    if (it->closing >= 0) {
      ++it;
      continue;
    }
    const auto end = std::find_if(it, p.days.end(), [](const MrpDay& d) { return d.closing >= 0; });
    const auto lowest = std::min_element(
        it, end, [](const MrpDay& a, const MrpDay& b) { return a.closing < b.closing; });
    out += Rect("short", s.X(it->day), top, s.X(std::prev(end)->day.AddDays(1)) - s.X(it->day),
                kPlotHeight,
                "below zero " + it->day.DateText() + " to " + std::prev(end)->day.DateText() +
                    ", lowest " + text::NumberText(lowest->closing));
    it = end;
  }
  return out;
}

// A bar a day for what is received (up from zero) and what is required (down).
std::string Bars(const MrpProduct& p, const DayScale& s, const ValueScale& v) {
  std::string out;
  const double width = s.day_width * 0.7;
  for (const MrpDay& d : p.days) {
    const double x = s.X(d.day) + s.day_width * 0.15;
    const std::string day = d.day.DateText();
    if (d.received > 0) {
      out += Rect("bar received", x, v.Y(d.received), width, d.received * v.unit,
                  day + ": received " + text::NumberText(d.received), day);
    }
    if (d.required > 0) {
      out += Rect("bar required", x, v.zero_y, width, d.required * v.unit,
                  day + ": required " + text::NumberText(d.required), day);
    }
  }
  return out;
}

// The day-end balance through the middle of each day, a point where it moves.
std::string ClosingLine(const MrpProduct& p, const DayScale& s, const ValueScale& v) {
  std::string points;
  std::string dots;
  for (std::size_t i = 0; i < p.days.size(); ++i) {
    const MrpDay& d = p.days[i];
    const double x = s.X(d.day) + s.day_width / 2;
    points += (points.empty() ? "" : " ") + Px(x) + "," + Px(v.Y(d.closing));
    if (i > 0 && p.days[i - 1].closing == d.closing) continue;
    dots += "<circle class=\"point\" data-day=\"" + d.day.DateText() + "\" cx=\"" + Px(x) +
            "\" cy=\"" + Px(v.Y(d.closing)) + "\" r=\"2.5\"><title>" + d.day.DateText() +
            ": finished goods " + Escape(text::NumberText(d.closing)) + "</title></circle>\n";
  }
  if (points.empty()) return {};
  return "<polyline class=\"closing\" points=\"" + points + "\"/>\n" + dots;
}

// The product, whether and how it runs short, and the panel's quantities.
std::string Names(const MrpProduct& p, const Shortage* shortage, double top, const ValueScale& v,
                  double highest, double lowest) {
  std::string out = "<text x=\"8\" y=\"" + Px(top + 12) + "\">" + Escape(p.code) + "</text>\n";
  if (!p.name.empty()) {
    out += "<text x=\"8\" y=\"" + Px(top + 28) + "\" fill=\"#666\">" + Escape(p.name) + "</text>\n";
  }
  const std::string notes[] = {
      shortage ? "short from " + shortage->first_day.DateText() : "never below zero",
      shortage ? "lowest " + text::NumberText(shortage->lowest) : ""};
  for (int i = 0; i < 2; ++i) {
    if (notes[i].empty()) continue;
    out += std::string("<text class=\"") + (shortage ? "note-short" : "note-fine") +
           "\" x=\"8\" y=\"" + Px(top + 42 + 14 * i) + "\">" + notes[i] + "</text>\n";
  }
  std::vector<double> marks = {0.0};
  if (highest > 0) marks.push_back(highest);
  if (lowest < 0) marks.push_back(lowest);
  for (const double value : marks) {
    out += "<text class=\"value\" x=\"" + Px(kChartLeft - 4) + "\" y=\"" + Px(v.Y(value) + 4) +
           "\">" + text::NumberText(value) + "</text>\n";
  }
  return out;
}

std::string Panel(const MrpProduct& p, const Shortage* shortage, const DayScale& s, double& y) {
  const double top = y + kPadding;
  double highest = 0;
  double lowest = 0;
  const ValueScale v = ValuesOf(p, top, highest, lowest);
  std::string out = "<g class=\"product\" data-product=\"" + Escape(p.code) + "\" data-zero-y=\"" +
                    Px(v.zero_y) + "\" data-unit=\"" + Px(v.unit) + "\">\n";
  out += ShortDays(p, s, top) + Names(p, shortage, top, v, highest, lowest);
  out += "<line class=\"zero\" x1=\"" + Px(kChartLeft) + "\" x2=\"" + Px(s.Right()) + "\" y1=\"" +
         Px(v.zero_y) + "\" y2=\"" + Px(v.zero_y) + "\"/>\n";
  out += Bars(p, s, v) + ClosingLine(p, s, v);
  y = top + kPlotHeight + kPadding;
  return out + "<line class=\"row-line\" x1=\"0\" x2=\"" + Px(s.Right()) + "\" y1=\"" + Px(y) +
         "\" y2=\"" + Px(y) + "\"/>\n</g>\n";
}

}  // namespace

std::string MrpChartPage(const MrpRun& run) {
  const DayScale scale(run.range, kChartLeft, kChartAxisWidth);
  const std::vector<Shortage> shortages = run.Shortages();
  std::map<std::string, const Shortage*> short_of;
  for (const Shortage& s : shortages) short_of[s.product] = &s;
  std::vector<const MrpProduct*> order;
  for (const MrpProduct& p : run.products) order.push_back(&p);
  std::stable_partition(order.begin(), order.end(),
                        [&](const MrpProduct* p) { return short_of.count(p->code) > 0; });
  double y = kChartTop;
  std::string panels;
  for (const MrpProduct* p : order) {
    const auto it = short_of.find(p->code);
    panels += Panel(*p, it == short_of.end() ? nullptr : it->second, scale, y);
  }
  return DayChartPage(
      "Finished goods " + run.range.first.DateText() + " to " + run.range.last.DateText(), kStyle,
      scale, y + 40, DayAxis(scale, kChartTop, y) + panels + Legend(kKeys, kChartLeft, y + 16));
}

}  // namespace kz8mrp::cli
