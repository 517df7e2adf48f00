#include "cli/MrpRun.h"

#include <kz8mrp/MRPObject.h>

#include "cli/Usage.h"
#include "common/Text.h"
#include "host/db/Connection.h"

#include <algorithm>

namespace kz8mrp::cli {
namespace {

using db::Value;

std::vector<std::string> ProductsToPlan(db::Connection& connection,
                                        const std::vector<std::string>& only) {
  std::vector<std::string> all;
  for (const auto& row :
       connection.Query("SELECT TPdtCode FROM KZ8TProduct ORDER BY TPdtCode").rows) {
    all.push_back(row[0].AsText());
  }
  if (only.empty()) return all;
  for (const std::string& code : only) {
    if (!std::binary_search(all.begin(), all.end(), code)) {
      throw UsageError("unknown product: " + code);
    }
  }
  return only;
}

MrpProduct ReadPlan(db::Connection& connection, const std::string& code, const DayRange& range) {
  const db::Backend& b = connection.backend();
  MrpProduct plan{code, {}};
  for (const auto& row : connection
                             .Query("SELECT TMRPDate,TMRPFGEnd,TMRPFGReceive,TMRPMR FROM KZ8TMRP "
                                    "WHERE TMRPTPdtCode=" +
                                        b.Placeholder(1) + " AND TMRPDate>=" + b.Placeholder(2) +
                                        " AND TMRPDate<=" + b.Placeholder(3) + " ORDER BY TMRPDate",
                                    {Value(code), Value(range.first), Value(range.last)})
                             .rows) {
    plan.days.push_back({row[0].AsDate(), row[1].AsNumber(), row[2].AsNumber(), row[3].AsNumber()});
  }
  return plan;
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
  const std::vector<std::string> codes = ProductsToPlan(connection, only);
  MRPObject engine;
  MrpRun run{range, {}};
  db::Transaction transaction(connection);
  for (const std::string& code : codes) {
    engine.GenerateMRP4(data, code, range.first, range.last, Integer{0}, 0, false);
    run.products.push_back(ReadPlan(connection, code, range));
    if (progress) progress(run.products.size(), codes.size());
  }
  transaction.Commit();
  return run;
}

}  // namespace kz8mrp::cli
