// `kz8mrp schedule`: the machine schedule of a range of days, as a page for the
// browser or as a table.
#include <kz8mrp/MRPObject.h>

#include <CLI/CLI.hpp>

#include "cli/Commands.h"
#include "cli/Page.h"
#include "cli/ScheduleChart.h"

#include <iostream>
#include <memory>

namespace kz8mrp::cli {
namespace {

struct ScheduleOptions {
  std::string db;
  std::string from;
  std::string to;
  std::vector<std::string> sections;
  std::string html;
};

void ShowSchedule(const ScheduleOptions& o) {
  const DayRange range = ReadDayRange(o.from, o.to);
  AppObj app;
  ClientObj client;
  DataObj data(o.db, app, client);
  MRPObject engine;
  const Schedule schedule = ReadSchedule(engine, data, range, o.sections);
  if (o.html.empty()) {
    std::cout << ScheduleTable(schedule);
    return;
  }
  WriteFileWhole(o.html, ScheduleChartPage(schedule));
}

}  // namespace

void AddScheduleCommand(CLI::App& app) {
  auto o = std::make_shared<ScheduleOptions>();
  CLI::App* schedule = app.add_subcommand(
      "schedule", "Show the machine schedule of a range of days, as a table or a page");
  schedule->add_option("--db", o->db, kDbHelp)->required();
  schedule->add_option("--from", o->from, "The first day, YYYY-MM-DD")->required();
  schedule->add_option("--to", o->to, "The last day, YYYY-MM-DD (five years at most)")->required();
  schedule->add_option("--section", o->sections, "Only these sections, in this order");
  schedule->add_option("--html", o->html,
                       "Write a page with a bar per reservation to this file instead");
  schedule->callback([o] { ShowSchedule(*o); });
}

}  // namespace kz8mrp::cli
