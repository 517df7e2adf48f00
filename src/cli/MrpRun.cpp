#include "cli/MrpRun.h"

#include <kz8mrp/MRPObject.h>

#include "cli/Usage.h"
#include "common/Text.h"
#include "host/db/Connection.h"

#include <algorithm>
#include <map>

namespace kz8mrp::cli {
namespace {

using db::Value;

// The products to plan with their names, in code order or as named.
std::vector<MrpProduct> ProductsToPlan(db::Connection& connection,
                                       const std::vector<std::string>& only) {
  std::map<std::string, std::string> all;
  for (const auto& row : connection.Query("SELECT TPdtCode,TPdtName FROM KZ8TProduct").rows) {
    all[row[0].AsText()] = row[1].AsText();
  }
  std::vector<MrpProduct> products;
  if (only.empty()) {
    for (const auto& [code, name] : all) products.push_back({code, name, {}});
    return products;
  }
  for (const std::string& code : only) {
    const auto it = all.find(code);
    if (it == all.end()) throw UsageError("unknown product: " + code);
    products.push_back({code, it->second, {}});
  }
  return products;
}

void ReadPlan(db::Connection& connection, const DayRange& range, MrpProduct& plan) {
  const db::Backend& b = connection.backend();
  for (const auto& row : connection
                             .Query("SELECT TMRPDate,TMRPFGEnd,TMRPFGReceive,TMRPMR FROM KZ8TMRP "
                                    "WHERE TMRPTPdtCode=" +
                                        b.Placeholder(1) + " AND TMRPDate>=" + b.Placeholder(2) +
                                        " AND TMRPDate<=" + b.Placeholder(3) + " ORDER BY TMRPDate",
                                    {Value(plan.code), Value(range.first), Value(range.last)})
                             .rows) {
    plan.days.push_back({row[0].AsDate(), row[1].AsNumber(), row[2].AsNumber(), row[3].AsNumber()});
  }
}

}  // namespace

std::vector<Shortage> MrpRun::Shortages() const {
  std::vector<Shortage> out;
  for (const MrpProduct& p : products) {
    const auto first =
        std::find_if(p.days.begin(), p.days.end(), [](const MrpDay& d) { return d.closing < 0; });
    if (first == p.days.end()) continue;
    const auto lowest =
        std::min_element(p.days.begin(), p.days.end(),
                         [](const MrpDay& a, const MrpDay& b) { return a.closing < b.closing; });
    out.push_back({p.code, first->day, lowest->closing});
  }
  return out;
}

std::string ShortageTable(const MrpRun& run) {
  const std::vector<Shortage> shortages = run.Shortages();
  std::string out = "MRP " + run.range.first.DateText() + " to " + run.range.last.DateText() +
                    ": " + std::to_string(run.products.size()) + " products, " +
                    std::to_string(shortages.size()) + " short of finished goods\n";
  if (shortages.empty()) return out;
  std::size_t width = 7;
  for (const Shortage& s : shortages) width = std::max(width, text::DisplayWidth(s.product));
  out += "product" + std::string(width - 7, ' ') + "  first short day  lowest balance\n";
  for (const Shortage& s : shortages) {
    out += s.product + std::string(width - text::DisplayWidth(s.product), ' ') + "  " +
           s.first_day.DateText() + "       " + text::NumberText(s.lowest) + "\n";
  }
  return out;
}

MrpRun RunMrp(DataObj& data, const DayRange& range, const std::vector<std::string>& only,
              const MrpProgress& progress) {
  db::Connection& connection = data.Connection();
  MRPObject engine;
  MrpRun run{range, ProductsToPlan(connection, only)};
  db::Transaction transaction(connection);
  std::size_t done = 0;
  for (MrpProduct& product : run.products) {
    engine.GenerateMRP4(data, product.code, range.first, range.last, Integer{0}, 0, false);
    ReadPlan(connection, range, product);
    if (progress) progress(++done, run.products.size());
  }
  transaction.Commit();
  return run;
}

}  // namespace kz8mrp::cli
