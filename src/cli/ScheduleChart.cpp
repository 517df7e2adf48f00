#include "cli/ScheduleChart.h"

#include "calendar/DayWalk.h"
#include "cli/DayChart.h"
#include "cli/Page.h"
#include "common/Text.h"

#include <algorithm>
#include <cmath>

namespace kz8mrp::cli {
namespace {

// A section's row: its lanes of bars and the space between rows.
constexpr double kLaneHeight = 20;
constexpr double kRowPadding = 6;
constexpr double kLabelCellWidth = 7;  // a terminal cell of label text, in pixels

constexpr const char* kStyle = R"(<style>
.holiday { fill: #f4c7c3; fill-opacity: 0.55; }
.office { fill: #e3eefc; }
.bar { stroke: #333; stroke-width: 0.5; }
.kind-wip { fill: #3f7fd0; }
.kind-fg { fill: #4caf6a; }
.kind-mm { fill: #f0a030; }
.kind-hd { fill: #9a6fc0; }
.kind-other { fill: #30a0a0; }
.cancelled { fill-opacity: 0.3; stroke-dasharray: 3 2; }
.label { fill: #fff; font-size: 10px; pointer-events: none; }
</style>)";

std::string ClassOf(const Reservation& r) {
  std::string kind = text::ToLower(r.type);
  if (kind != "wip" && kind != "fg" && kind != "mm" && kind != "hd") kind = "other";
  return "bar kind-" + kind + (r.cancelled ? " cancelled" : "");
}

// Bars that overlap in time go on lanes of their own, the first free one.
std::vector<int> Lanes(const std::vector<Reservation>& rs, int& lane_count) {
  std::vector<OleDate> lane_end;
  std::vector<int> lanes;
  for (const Reservation& r : rs) {
    std::size_t lane = 0;
    while (lane < lane_end.size() && r.start < lane_end[lane]) ++lane;
    if (lane == lane_end.size()) lane_end.push_back(r.end);
    lane_end[lane] = std::max(lane_end[lane], r.end);
    lanes.push_back(static_cast<int>(lane));
  }
  lane_count = std::max<int>(1, static_cast<int>(lane_end.size()));
  return lanes;
}

std::string Tooltip(const Reservation& r) {
  std::string t = r.no + " (" + KindName(r.type) + (r.cancelled ? ", cancelled" : "") + ")\n" +
                  r.start.ToString().substr(0, 16) + " to " + r.end.ToString().substr(0, 16) +
                  "\n" + text::NumberText(std::round(r.hours * 100) / 100) + " h";
  if (!r.job.empty()) t += "\njob " + JobText(r);
  return t;
}

// The first label that fits the bar: job, line and step; shorter; the job.
std::string LabelFor(const Reservation& r, double width) {
  const std::string job = r.job.empty() ? r.no : r.job;
  const std::string candidates[] = {
      JobText(r), job + " " + std::to_string(r.line) + "/" + std::to_string(r.step), job};
  for (const std::string& label : candidates) {
    if (!label.empty() &&
        static_cast<double>(text::DisplayWidth(label)) * kLabelCellWidth + 6 <= width) {
      return label;
    }
  }
  return {};
}

// A bar from the reservation's start to its end, cut to the range shown.
std::string Bar(const Reservation& r, const DayScale& s, double y) {
  const double x = s.X(std::max(r.start, s.range.first));
  const double width = s.X(std::min(r.end, s.range.End())) - x;
  std::string out = "<g><title>" + Escape(Tooltip(r)) + "</title><rect class=\"" + ClassOf(r) +
                    "\" data-no=\"" + Escape(r.no) + "\" x=\"" + Px(x) + "\" y=\"" + Px(y) +
                    "\" width=\"" + Px(width) + "\" height=\"" + Px(kLaneHeight - 4) + "\"/>";
  const std::string label = LabelFor(r, width);
  if (!label.empty()) {
    out += "<text class=\"label\" x=\"" + Px(x + 3) + "\" y=\"" + Px(y + kLaneHeight - 8) + "\">" +
           Escape(label) + "</text>";
  }
  return out + "</g>\n";
}

// A day a section works: its office hours from 08:00, with the hour's break
// a day of more than four hours takes.
std::string OfficeHours(const SectionSchedule& s, const DayScale& scale, OleDate day, double y,
                        double height) {
  const double hours = s.office_hours + (s.office_hours > 4 ? 1 : 0);
  const double x = scale.X(day.AddHours(calendar::kOfficeStartHour));
  return "<rect class=\"office\" x=\"" + Px(x) + "\" y=\"" + Px(y) + "\" width=\"" +
         Px(std::min(hours, 24.0 - calendar::kOfficeStartHour) / 24 * scale.day_width) +
         "\" height=\"" + Px(height) + "\"/>\n";
}

bool IsHoliday(const Schedule& schedule, OleDate day) {
  return std::binary_search(schedule.holidays.begin(), schedule.holidays.end(), day);
}

std::string SectionRow(const Schedule& schedule, const SectionSchedule& s, const DayScale& scale,
                       double& y) {
  int lane_count = 1;
  const std::vector<int> lanes = Lanes(s.reservations, lane_count);
  const double height = lane_count * kLaneHeight + 2 * kRowPadding;
  std::string out = "<g class=\"section\" data-section=\"" + Escape(s.code) + "\">\n";
  for (OleDate day = schedule.range.first; day < schedule.range.End(); day = day.AddDays(1)) {
    if (!IsHoliday(schedule, day)) out += OfficeHours(s, scale, day, y, height);
  }
  out += "<text x=\"8\" y=\"" + Px(y + 16) + "\">" + Escape(s.code) + "</text>";
  out += "<text x=\"8\" y=\"" + Px(y + 30) + "\" fill=\"#666\">" + Escape(s.name) + "</text>\n";
  for (std::size_t i = 0; i < s.reservations.size(); ++i) {
    out += Bar(s.reservations[i], scale, y + kRowPadding + lanes[i] * kLaneHeight + 2);
  }
  y += height;
  out += "<line class=\"row-line\" x1=\"0\" x2=\"" + Px(kChartLeft + kChartAxisWidth) + "\" y1=\"" +
         Px(y) + "\" y2=\"" + Px(y) + "\"/>\n</g>\n";
  return out;
}

std::string Holidays(const Schedule& schedule, const DayScale& scale, double bottom) {
  std::string out;
  for (const OleDate day : schedule.holidays) {
    out += "<rect class=\"holiday\" x=\"" + Px(scale.X(day)) + "\" y=\"" + Px(kChartTop) +
           "\" width=\"" + Px(scale.day_width) + "\" height=\"" + Px(bottom - kChartTop) +
           "\"><title>holiday " + day.DateText() + "</title></rect>\n";
  }
  return out;
}

const std::vector<std::pair<const char*, const char*>> kKeys = {
    {"bar kind-wip", "production"}, {"bar kind-fg", "finished goods"},
    {"bar kind-mm", "maintenance"}, {"bar kind-hd", "section holiday"},
    {"bar kind-other", "other"},    {"bar kind-wip cancelled", "cancelled"},
    {"holiday", "plant holiday"},   {"office", "office hours"}};

}  // namespace

std::string ScheduleChartPage(const Schedule& schedule) {
  const DayRange& range = schedule.range;
  const DayScale scale(range, kChartLeft, kChartAxisWidth);
  double y = kChartTop;
  std::string rows;
  for (const SectionSchedule& s : schedule.sections) rows += SectionRow(schedule, s, scale, y);
  const double bottom = y;
  return DayChartPage("Machine schedule " + range.first.DateText() + " to " + range.last.DateText(),
                      kStyle, scale, bottom + 40,
                      Holidays(schedule, scale, bottom) + rows + DayAxis(scale, kChartTop, bottom) +
                          Legend(kKeys, kChartLeft, bottom + 16));
}

std::string ScheduleTable(const Schedule& schedule) {
  std::string out;
  for (const SectionSchedule& s : schedule.sections) {
    out += std::string(out.empty() ? "" : "\n") + "Section " + s.code +
           (s.name.empty() ? "" : " " + s.name) + " (office " + text::NumberText(s.office_hours) +
           " h a day from 08:00)\n";
    if (s.reservations.empty()) {
      out += "  no reservations\n";
      continue;
    }
    out += "  reservation     kind             from              to                 hours  job\n";
    for (const Reservation& r : s.reservations) {
      char line[160];
      std::snprintf(line, sizeof line, "  %-15s %-16s %-16s  %-16s %6s  ", r.no.c_str(),
                    (std::string(KindName(r.type)) + (r.cancelled ? "*" : "")).c_str(),
                    r.start.ToString().substr(0, 16).c_str(),
                    r.end.ToString().substr(0, 16).c_str(),
                    text::NumberText(std::round(r.hours * 100) / 100).c_str());
      out += line + JobText(r) + "\n";
    }
  }
  return out + "(* cancelled)\n";
}

}  // namespace kz8mrp::cli
