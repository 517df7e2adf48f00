// `kz8mrp demo`: a database with a small plant, and the answers a planner asks
// of its calendar.
#include <kz8mrp/MRPObject.h>

#include <CLI/CLI.hpp>

#include "cli/Commands.h"
#include "cli/MrpChart.h"
#include "cli/Page.h"
#include "cli/ScheduleChart.h"
#include "common/Text.h"
#include "host/db/Connection.h"
#include "host/db/Pool.h"
#include "host/db/sqlite/SqliteBackend.h"
#include "host/schema/Schema.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>

namespace kz8mrp::cli {
namespace {

constexpr const char* kDefaultDemoDb = "kz8mrp-demo.db";

std::string Day(OleDate d) { return d.DateText() + " " + WeekdayName(d); }

struct Planner {
  MRPObject engine;
  AppObj app;
  ClientObj client;
  DataObj data;
  explicit Planner(const std::string& db) : data(db, app, client) {
    data.SetNow(OleDate::FromParts(2027, 1, 4, 8, 0));
  }
};

void ShowHoursPerDay(Planner& p) {
  std::cout << "Hours per working day (section, then plant setting, then the usual hours)\n"
            << "  section   office   OT1   OT2   2 shifts   full day\n";
  for (const char* section : {"CUT", "ASM", "PNT"}) {
    std::printf("  %-8s", section);
    const KZ8HourType types[] = {KZ8HourTypeOffice, KZ8HourTypeWithOT1, KZ8HourTypeWithOT2,
                                 KZ8HourType2Shifts, KZ8HourTypeFullDay};
    const int widths[] = {7, 6, 6, 11, 11};
    for (int i = 0; i < 5; ++i) {
      const double h = p.engine.GETHourPerDay(types[i], section, p.data);
      std::printf("%*s", widths[i], text::NumberText(h).c_str());
    }
    std::printf("\n");
  }
}

void ShowHolidays(Planner& p) {
  std::cout << "\nHolidays in the first days of January 2027\n";
  for (int day = 1; day <= 8; ++day) {
    const OleDate d = OleDate::FromParts(2027, 1, day);
    std::cout << "  " << Day(d) << "  "
              << (p.engine.isMRPHoliday(d, "HQ", p.data) ? "holiday" : "working day") << '\n';
  }
  const OleDate switched_off = OleDate::FromParts(2027, 1, 15);
  std::cout << "  " << Day(switched_off) << "  "
            << (p.engine.isMRPHoliday(switched_off, "HQ", p.data) ? "holiday" : "working day")
            << " (its holiday row is switched off)\n";
}

void ShowNearestWorkingDays(Planner& p) {
  std::cout << "\nNearest working date (the search step grows a day per try)\n";
  const OleDate new_year = OleDate::FromParts(2027, 1, 1, 9, 30);
  const OleDate saturday = OleDate::FromParts(2027, 1, 9);
  std::cout << "  forward from " << new_year.ToString() << "  -> "
            << p.engine.MoveToOfficeHourDate(new_year, true, "HQ", p.data).ToString() << '\n'
            << "  back from    " << saturday.ToString() << "  -> "
            << p.engine.MoveToOfficeHourDate(saturday, false, "HQ", p.data).ToString() << '\n'
            << "  forward from " << saturday.ToString() << "  -> "
            << p.engine.MoveToOfficeHourDate(saturday, true, "HQ", p.data).ToString() << '\n';
}

// ---- Machine schedule --------------------------------------------------------

std::string Clock(OleDate d) { return d.ToString().substr(11, 5); }
std::string When(OleDate d) { return Day(d) + " " + Clock(d); }
std::string Hours(double h) { return text::NumberText(std::round(h * 100) / 100); }

// The reservations a condition selects, one line each, in booking order.
void ShowReservations(Planner& p, const std::string& condition) {
  const db::ResultSet rs = p.data.Connection().Query(
      "SELECT TMPSNo,TMPSTSecCode,TMPSStartDate,TMPSEndDate,TMPSHour,TMPSReserveType,"
      "TMPSTJStTJbMTJobNo,TMPSTJStTJbMLn,TMPSTJStLn,TMPSStatus FROM KZ8TMPS WHERE " +
      condition + " ORDER BY TMPSNo");
  std::printf("  %-15s %-4s %-20s %-5s %5s  %-15s %s\n", "reservation", "sect", "from", "to",
              "hours", "kind", "for");
  for (const auto& r : rs.rows) {
    std::string kind = KindName(r[5].AsText());
    if (!r[6].AsText().empty()) {
      kind.resize(16, ' ');
      kind += r[6].AsText();
      if (r[7].AsNumber() != 0) kind += " line " + r[7].AsText() + " step " + r[8].AsText();
    }
    if (r[9].AsNumber() != 1) kind += " (cancelled)";
    std::printf("  %-15s %-4s %-20s %-5s %5s  %s\n", r[0].AsText().c_str(), r[1].AsText().c_str(),
                When(r[2].AsDate()).c_str(), Clock(r[3].AsDate()).c_str(),
                Hours(r[4].AsNumber()).c_str(), kind.c_str());
  }
}

void BookReservations(Planner& p) {
  std::cout << "\nTime booked on the sections in the week of 4 January (CreateMPS)\n";
  struct Booking {
    OleDate start;
    double hours;
    const char* type;
    const char* section;
    const char* job;
  };
  const Booking bookings[] = {
      {OleDate::FromParts(2027, 1, 4, 8), 3, "MM", "CUT", ""},             // new saw blades
      {OleDate::FromParts(2027, 1, 5, 8), 5, "WIP", "CUT", "JOB-DEMO-0"},  // an earlier job
      {OleDate::FromParts(2027, 1, 6, 8), 7.5, "HD", "ASM", ""},           // stock count
  };
  std::string numbers;
  for (const Booking& b : bookings) {
    const std::string no = p.engine.CreateMPS(b.start, b.hours, b.type, "HQ", p.data.Today(),
                                              p.data, p.app, p.client, b.section, b.job);
    numbers += (numbers.empty() ? "'" : ",'") + no + "'";
  }
  ShowReservations(p, "TMPSNo IN (" + numbers + ")");
}

void ScheduleJob(Planner& p) {
  const Integer booked = p.engine.CreateMPSFromJob(kDemoScheduleJob, p.data, p.app, p.client);
  std::cout << "\nJob " << kDemoScheduleJob << " booked from its routing steps (CreateMPSFromJob "
            << "returned " << booked << "):\n"
            << "each step's finished-goods booking gives way to its production hours, laid\n"
            << "day by day from 08:00 up to the section's office hours; other bookings and\n"
            << "holidays do not move them\n";
  ShowReservations(p, std::string("TMPSTJStTJbMTJobNo='") + kDemoScheduleJob + "'");
}

void ShowReservedHours(Planner& p) {
  const char* const sections[] = {"CUT", "ASM", "PNT"};
  std::cout << "\nHours reserved per section (finished goods not counted)\n"
            << "  day               CUT    ASM    PNT\n";
  for (int day = 4; day <= 8; ++day) {
    const OleDate d = OleDate::FromParts(2027, 1, day);
    std::printf("  %-15s", Day(d).c_str());
    for (const char* section : sections) {
      std::printf("%7s", Hours(p.engine.GETCapAsDate(section, d, "", 0, p.data)).c_str());
    }
    std::printf("\n");
  }
  const OleDate monday = OleDate::FromParts(2027, 1, 4);
  const OleDate saturday = OleDate::FromParts(2027, 1, 9);
  std::printf("  %-15s", "Mon to Fri");
  for (const char* section : sections) {
    std::printf("%7s", Hours(p.engine.GETCapPlaned(section, monday, saturday, p.data)).c_str());
  }
  std::printf("\n  of which section holidays %s h and maintenance %s h\n",
              Hours(p.engine.GETHoliday("", monday, saturday, p.data)).c_str(),
              Hours(p.engine.GETPMDay("", monday, saturday, p.data)).c_str());
}

void ShowEndsAndStarts(Planner& p) {
  std::cout << "\nWhen a piece of work ends, and when it must start: each day gives the office\n"
            << "hours less the setup time and what is reserved, holidays give nothing; work\n"
            << "is laid forward from 08:00 and back from 17:00\n";
  const OleDate start = OleDate::FromParts(2027, 1, 4, 9, 30);
  const OleDate due = OleDate::FromParts(2027, 1, 11, 12);
  Integer no_setup = 0;
  Integer half_hour = 30;
  const OleDate end = p.engine.GetEndDateTime3(start, start, 2, "CUT", p.data, p.app, p.client,
                                               true, true, true, no_setup);
  const OleDate end_with_setup = p.engine.GetEndDateTime3(start, start, 2, "CUT", p.data, p.app,
                                                          p.client, true, true, true, half_hour);
  const OleDate must_start = p.engine.GetStartDateTime3(due, due, 1.5, "PNT", p.data, p.app,
                                                        p.client, true, true, true, no_setup);
  const auto line = [](const std::string& work, const char* what, OleDate at) {
    std::printf("  %-46s %-11s %s\n", work.c_str(), what, When(at).c_str());
  };
  line("cutting 2 days from " + When(start), "ends", end);
  line("the same with 30 minutes' setup a day", "ends", end_with_setup);
  line("painting 1.5 days due " + When(due), "must start", must_start);
}

// The schedule of the first two weeks of January and the MRP run as pages in
// the folder asked for, else beside an SQLite database, else (a server's
// database has no folder) in the working folder.
void WritePages(Planner& p, const MrpRun& run, const std::string& pages) {
  db::Connection& c = p.data.Connection();
  namespace fs = std::filesystem;
  const fs::path folder =
      !pages.empty() ? fs::absolute(pages)
      : c.kind() == db::Kind::SQLite
          ? fs::absolute(db::sqlite::FilePathOf(c.ConnectionString())).parent_path()
          : fs::current_path();
  fs::create_directories(folder);
  const std::string schedule = (folder / "schedule.html").string();
  const DayRange range{OleDate::FromParts(2027, 1, 1), OleDate::FromParts(2027, 1, 14)};
  WriteFileWhole(schedule, ScheduleChartPage(ReadSchedule(p.engine, p.data, range, {})));
  const std::string mrp = (folder / "mrp.html").string();
  WriteFileWhole(mrp, MrpChartPage(run));
  std::cout << "\nThe machine schedule of 1 to 14 January, drawn for a browser: " << schedule
            << "\nThe finished goods of that MRP run, drawn for a browser: " << mrp << '\n';
}

void RemoveSqliteFile(const std::string& path) {
  db::ClearPool();
  for (const char* suffix : {"", "-wal", "-shm"}) {
    std::filesystem::remove(path + suffix);
  }
}

struct DemoOptions {
  std::string db;
  std::string pages;
};

void RunDemo(const DemoOptions& o) {
  const std::string db = o.db.empty() ? kDefaultDemoDb : o.db;
  if (o.db.empty()) RemoveSqliteFile(db);  // the default demo database starts afresh
  {
    auto connection = db::Connection::Open(db, db::OpenMode::Create);
    schema::Install(*connection);
    LoadDemoPlant(*connection);
    std::cout << "kz8mrp demo: a plant of three sections on " << db << " ("
              << connection->KindName() << ")\n\n";
  }
  Planner planner(db);
  ShowHoursPerDay(planner);
  ShowHolidays(planner);
  ShowNearestWorkingDays(planner);
  BookReservations(planner);
  ScheduleJob(planner);
  ShowReservedHours(planner);
  ShowEndsAndStarts(planner);
  const std::string job =
      ShowJobFromSalesOrder(planner.engine, planner.data, planner.app, planner.client);
  ShowOrdersOnJob(planner.engine, planner.data, planner.app, planner.client, job);
  const MrpRun run = ShowMrpRun(planner.data);
  ShowForecastExplosion(planner.engine, planner.data);
  WritePages(planner, run, o.pages);
}

}  // namespace

void AddDemoCommand(CLI::App& app) {
  auto o = std::make_shared<DemoOptions>();
  CLI::App* demo =
      app.add_subcommand("demo", "Load a small plant and show what the engine answers on it");
  demo->add_option("--db", o->db,
                   std::string(kDbHelp) + "; default " + kDefaultDemoDb + ", made afresh");
  demo->add_option("--pages", o->pages,
                   "Folder to write schedule.html and mrp.html to (default: the SQLite "
                   "database's folder; for a server, the working folder)");
  demo->callback([o] { RunDemo(*o); });
}

}  // namespace kz8mrp::cli
