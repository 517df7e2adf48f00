#include "cli/ScheduleChart.h"

#include "calendar/DayWalk.h"
#include "cli/Page.h"
#include "common/Text.h"

#include <algorithm>
#include <cmath>

namespace kz8mrp::cli {
namespace {

// The page's scale: sections' names on the left, the days across.
constexpr double kLeft = 170;
constexpr double kAxisWidth = 1070;
constexpr double kTop = 56;
constexpr double kLaneHeight = 20;
constexpr double kRowPadding = 6;
constexpr double kLabelCellWidth = 7;  // a terminal cell of label text, in pixels
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

constexpr const char* kStyle = R"(<style>
body { font-family: "Garuda", "Loma", "Noto Sans Thai", "DejaVu Sans", sans-serif; margin: 12px; color: #222; }
h1 { font-size: 18px; margin: 0 0 8px; }
svg text { font-size: 11px; fill: #222; }
.axis line { stroke: #bbb; }
.axis text { fill: #555; }
.row-line { stroke: #ddd; }
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
.legend text { font-size: 12px; }
</style>)";

struct Scale {
  OleDate from;
  OleDate end;
  double day_width;
  double X(OleDate d) const { return kLeft + d.DaysSince(from) * day_width; }
};

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
std::string Bar(const Reservation& r, const Scale& s, double y) {
  const double x = s.X(std::max(r.start, s.from));
  const double width = s.X(std::min(r.end, s.end)) - x;
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
std::string OfficeHours(const SectionSchedule& s, const Scale& scale, OleDate day, double y,
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

std::string SectionRow(const Schedule& schedule, const SectionSchedule& s, const Scale& scale,
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
  out += "<line class=\"row-line\" x1=\"0\" x2=\"" + Px(kLeft + kAxisWidth) + "\" y1=\"" + Px(y) +
         "\" y2=\"" + Px(y) + "\"/>\n</g>\n";
  return out;
}

// Day ticks while a day is wide enough to name, then weeks (from Monday),
// then months.
std::string Axis(const Schedule& schedule, const Scale& scale, double bottom) {
  const bool days = scale.day_width >= 30;
  const bool weeks = !days && scale.day_width * 7 >= 44;
  std::string out = "<g class=\"axis\">\n";
  for (OleDate day = schedule.range.first; day < schedule.range.End(); day = day.AddDays(1)) {
    const OleDate::Parts p = day.Split();
    std::string label;
    if (days) label = std::string(WeekdayName(day)) + " " + std::to_string(p.day);
    if (weeks && day.DayOfWeek() == 1) label = std::to_string(p.day) + " " + kMonths[p.month - 1];
    if (!days && !weeks && p.day == 1)
      label = std::string(kMonths[p.month - 1]) + " " + std::to_string(p.year);
    if (label.empty()) continue;
    const double x = scale.X(day);
    out += "<line x1=\"" + Px(x) + "\" x2=\"" + Px(x) + "\" y1=\"" + Px(kTop - 14) + "\" y2=\"" +
           Px(bottom) + "\"/><text x=\"" + Px(x + 3) + "\" y=\"" + Px(kTop - 4) + "\">" + label +
           "</text>\n";
  }
  return out + "</g>\n";
}

std::string Holidays(const Schedule& schedule, const Scale& scale, double bottom) {
  std::string out;
  for (const OleDate day : schedule.holidays) {
    out += "<rect class=\"holiday\" x=\"" + Px(scale.X(day)) + "\" y=\"" + Px(kTop) +
           "\" width=\"" + Px(scale.day_width) + "\" height=\"" + Px(bottom - kTop) +
           "\"><title>holiday " + day.DateText() + "</title></rect>\n";
  }
  return out;
}

std::string Legend(double y) {
  const std::pair<const char*, const char*> keys[] = {
      {"bar kind-wip", "production"}, {"bar kind-fg", "finished goods"},
      {"bar kind-mm", "maintenance"}, {"bar kind-hd", "section holiday"},
      {"bar kind-other", "other"},    {"bar kind-wip cancelled", "cancelled"},
      {"holiday", "plant holiday"},   {"office", "office hours"}};
  std::string out = "<g class=\"legend\">\n";
  double x = kLeft;
  for (const auto& [css, name] : keys) {
    out += "<rect class=\"" + std::string(css) + "\" x=\"" + Px(x) + "\" y=\"" + Px(y) +
           "\" width=\"14\" height=\"14\"/><text x=\"" + Px(x + 19) + "\" y=\"" + Px(y + 11) +
           "\">" + name + "</text>\n";
    x += 30 + 7.5 * static_cast<double>(std::string_view(name).size());
  }
  return out + "</g>\n";
}

}  // namespace

std::string ScheduleChartPage(const Schedule& schedule) {
  const DayRange& range = schedule.range;
  const Scale scale{range.first, range.End(), kAxisWidth / range.Days()};
  double y = kTop;
  std::string rows;
  for (const SectionSchedule& s : schedule.sections) rows += SectionRow(schedule, s, scale, y);
  const double bottom = y;
  const std::string title =
      "Machine schedule " + range.first.DateText() + " to " + range.last.DateText();
  return "<!DOCTYPE html>\n<html lang=\"th\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src "
         "'unsafe-inline'\">\n<title>" +
         title + "</title>\n" + kStyle + "\n</head>\n<body>\n<h1>" + title + "</h1>\n" +
         "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Px(kLeft + kAxisWidth + 10) +
         "\" height=\"" + Px(bottom + 40) + "\" data-origin-x=\"" + Px(kLeft) +
         "\" data-day-width=\"" + Px(scale.day_width) + "\" data-from=\"" + range.first.DateText() +
         "\">\n" + Holidays(schedule, scale, bottom) + rows + Axis(schedule, scale, bottom) +
         Legend(bottom + 16) + "</svg>\n</body>\n</html>\n";
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
