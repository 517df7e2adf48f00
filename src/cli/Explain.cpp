#include "cli/Explain.h"

#include <kz8mrp/Session.h>

#include "cli/ScheduleData.h"
#include "common/Text.h"
#include "host/Sql.h"
#include "host/db/Connection.h"

#include <cmath>

namespace kz8mrp::cli {
namespace {

std::string Hours(double h) { return text::NumberText(std::round(h * 100) / 100) + " h"; }

}  // namespace

void Explanation::Began(const calendar::WalkSubject& subject) {
  walks_.push_back({subject, {}, {}});
}

void Explanation::Examined(const calendar::DayAccount& day) {
  if (walks_.empty()) walks_.push_back({});
  walks_.back().days.push_back({day, ReservationsOn(day.day), 0});
}

void Explanation::PassedOver(OleDate /*from*/, int days) {
  if (!walks_.empty() && !walks_.back().days.empty()) walks_.back().days.back().passed_over = days;
}

void Explanation::Stopped(const std::string& why) {
  if (!walks_.empty()) walks_.back().stopped = why;
}

std::vector<Explanation::Reserved> Explanation::ReservationsOn(OleDate day) const {
  const calendar::WalkSubject& s = walks_.back().subject;
  if (s.section.empty()) return {};
  std::vector<Reserved> found;
  const auto rows = data_.Connection().Query(sql::ConvertDateMarkers(
      "SELECT TMPSNo,TMPSHour FROM KZ8TMPS WHERE TMPSNo<>''" +
      calendar::ReservedOnDay(s.section, day.CalendarDay().ToString(), s.job, s.line) +
      " ORDER BY TMPSNo"));
  for (const auto& r : rows.rows) found.push_back({r[0].AsText(), r[1].AsNumber()});
  return found;
}

std::string Explanation::Text() const {
  std::string out;
  for (const Walk& w : walks_) {
    out += "walk: " + w.subject.what + '\n';
    for (const Day& d : w.days) {
      const calendar::DayAccount& a = d.account;
      out += "  " + a.day.DateText() + " " + WeekdayName(a.day);
      if (a.holiday) {
        out += "  holiday";
      } else if (!w.subject.section.empty()) {
        out += "  offers " + Hours(a.offered) + ", reserved " + Hours(a.reserved);
        for (std::size_t i = 0; i < d.reservations.size(); ++i) {
          out += (i ? ", " : " (") + d.reservations[i].no + " " + Hours(d.reservations[i].hours) +
                 (i + 1 == d.reservations.size() ? ")" : "");
        }
      } else {
        out += "  no holiday";
      }
      if (!w.subject.section.empty())
        out += "; takes " + Hours(a.taken) + ", " + Hours(a.left) + " left";
      out += '\n';
      if (d.passed_over > 0) {
        out += "  (" + std::to_string(d.passed_over) +
               " days passed over: the job line's own bookings fill them)\n";
      }
    }
    out +=
        "  stopped: " + (w.stopped.empty() ? std::string("the method failed") : w.stopped) + '\n';
  }
  return out;
}

Json Explanation::ToJson() const {
  Json walks = Json::array();
  for (const Walk& w : walks_) {
    Json days = Json::array();
    for (const Day& d : w.days) {
      const calendar::DayAccount& a = d.account;
      Json reserved = Json::array();
      for (const Reserved& r : d.reservations)
        reserved.push_back({{"no", r.no}, {"hours", r.hours}});
      days.push_back({{"date", a.day.DateText()},
                      {"weekday", WeekdayName(a.day)},
                      {"holiday", a.holiday},
                      {"offered", a.offered},
                      {"reserved", a.reserved},
                      {"reservations", reserved},
                      {"taken", a.taken},
                      {"left", a.left},
                      {"passed_over_after", d.passed_over}});
    }
    walks.push_back({{"walk", w.subject.what}, {"days", days}, {"stopped", w.stopped}});
  }
  return walks;
}

}  // namespace kz8mrp::cli
