// `kz8mrp mrp`: the material-requirements run over the plant's products, and
// the list of products that run short of finished goods.
#include <kz8mrp/Session.h>

#include <CLI/CLI.hpp>

#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/MrpChart.h"
#include "cli/MrpRun.h"
#include "cli/Page.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>

namespace kz8mrp::cli {
namespace {

struct MrpOptions {
  std::string db;
  std::string from;
  std::string to;
  std::vector<std::string> products;
  std::string html;
  bool json = false;
};

// "products 40/1000, 2.1 s, about 50 s left" on one line that redraws itself.
MrpProgress TerminalProgress() {
  if (!isatty(STDERR_FILENO)) return {};
  const auto start = std::chrono::steady_clock::now();
  return [start](std::size_t done, std::size_t all) {
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double left = elapsed / static_cast<double>(done) * static_cast<double>(all - done);
    std::fprintf(stderr, "\rproducts %zu/%zu, %.1f s, about %.0f s left  ", done, all, elapsed,
                 left);
    if (done == all) std::fputc('\n', stderr);
  };
}

Json ShortageJson(const MrpRun& run) {
  Json shortages = Json::array();
  for (const Shortage& s : run.Shortages()) {
    shortages.push_back(
        {{"product", s.product}, {"first_day", s.first_day.DateText()}, {"lowest", s.lowest}});
  }
  return {{"from", run.range.first.DateText()},
          {"to", run.range.last.DateText()},
          {"products", run.products.size()},
          {"shortages", shortages}};
}

void PlanMaterials(const MrpOptions& o) {
  const DayRange range = ReadDayRange(o.from, o.to);
  AppObj app;
  ClientObj client;
  DataObj data(o.db, app, client);
  const MrpRun run = RunMrp(data, range, o.products, TerminalProgress());
  if (!o.html.empty()) WriteFileWhole(o.html, MrpChartPage(run));
  if (o.json) {
    PrintJson(ShortageJson(run));
  } else {
    std::cout << ShortageTable(run);
  }
}

}  // namespace

void AddMrpCommand(CLI::App& app) {
  auto o = std::make_shared<MrpOptions>();
  CLI::App* mrp = app.add_subcommand(
      "mrp", "Plan finished goods day by day for the products and list those that run short");
  mrp->add_option("--db", o->db, kDbHelp)->required();
  mrp->add_option("--from", o->from, "The first day, YYYY-MM-DD")->required();
  mrp->add_option("--to", o->to, "The last day, YYYY-MM-DD (five years at most)")->required();
  mrp->add_option("--product", o->products, "Only these products (default: every product)");
  mrp->add_option("--html", o->html,
                  "Also write a page with each product's finished goods day by day to this file");
  mrp->add_flag("--json", o->json, "Print the shortage list as JSON");
  mrp->callback([o] { PlanMaterials(*o); });
}

}  // namespace kz8mrp::cli
