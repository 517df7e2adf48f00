// `kz8mrp demo`: a database with a small plant, and the answers a planner asks
// of its calendar.
#include <kz8mrp/MRPObject.h>

#include "cli/Commands.h"
#include "cli/Options.h"
#include "common/Text.h"
#include "host/db/Connection.h"
#include "host/db/Pool.h"
#include "host/schema/Schema.h"

#include <cstdio>
#include <filesystem>
#include <iostream>

namespace kz8mrp::cli {
namespace {

constexpr const char* kDefaultDemoDb = "kz8mrp-demo.db";
const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

std::string Day(OleDate d) { return d.DateText() + " " + kWeekdays[d.DayOfWeek()]; }

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

void RemoveSqliteFile(const std::string& path) {
  db::ClearPool();
  for (const char* suffix : {"", "-wal", "-shm"}) {
    std::filesystem::remove(path + suffix);
  }
}

}  // namespace

int DemoCommand(const std::vector<std::string>& args) {
  const Options o(args, {"db"}, {});
  if (!o.Words().empty()) throw UsageError("demo takes no words: " + o.Words().front());
  const std::string db = o.Get("db", kDefaultDemoDb);
  if (!o.Has("db")) RemoveSqliteFile(db);  // the default demo database starts afresh
  {
    auto connection = db::Connection::Open(db);
    schema::Install(*connection);
    LoadDemoPlant(*connection);
    std::cout << "kz8mrp demo: a plant of three sections on " << db << " ("
              << connection->KindName() << ")\n\n";
  }
  Planner planner(db);
  ShowHoursPerDay(planner);
  ShowHolidays(planner);
  ShowNearestWorkingDays(planner);
  ShowJobFromSalesOrder(planner.engine, planner.data, planner.app, planner.client);
  return 0;
}

}  // namespace kz8mrp::cli
