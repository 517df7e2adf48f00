// The daily finished-goods plan against a plain day-by-day reading of the
// planning rules, on random plants, and what only committed jobs may change.
#include "host/services/InventoryTools.h"
#include "support/TestDb.h"

#include <array>
#include <map>
#include <random>

namespace kz8test {
namespace {

using kz8mrp::Integer;
using kz8mrp::OleDate;
using kz8mrp::db::Value;

const OleDate kBase = OleDate::FromParts(2027, 3, 1);
const std::vector<std::string> kProducts = {"A", "B'--x", "C#$y"};
constexpr const char* kKinds[] = {"RM", "WIP", "RM-OUT", "FG", "XX"};
// The day row's columns after product and day; the model keeps them in this order.
constexpr const char* kColumns =
    "TMRPBalanceFlag,TMRPBalanceFG,TMRPFGBegin,TMRPFGReceive,TMRPMR,TMRPFGEnd,TMRPRM,TMRPWIP,"
    "TMRPWIPFG,TMRPTotal,TMRPFlag1,TMRPFlag3";
enum { kFlag, kFixedFG, kEnd = 5, kFlag1 = 10, kStamp };
using ModelRow = std::array<Value, 12>;

class MrpDaysTest : public DbTest {
 protected:
  std::mt19937 rng_;
  std::map<std::pair<std::string, double>, ModelRow> model_;
  OleDate now_ = OleDate::FromParts(2027, 2, 1, 9);

  int Pick(int lo, int hi) { return std::uniform_int_distribution(lo, hi)(rng_); }
  OleDate Day(int offset, double hours = 0) { return kBase.AddDays(offset).AddHours(hours); }
  std::string Product() { return kProducts[Pick(0, 2)]; }

  void RandomPlant() {
    std::vector<std::vector<Value>> stock, jobs, lines, materials;
    for (int i = 0; i < 40; ++i) {
      stock.push_back({"D" + std::to_string(i), 1, i % 9 ? Product() : "OTHER",
                       Day(Pick(-5, 25), Pick(0, 2) * 8.5), kKinds[Pick(0, 4)],
                       Pick(-20, 40) * 0.5});
    }
    for (int j = 0; j < 8; ++j) {
      const std::string job = "J'" + std::to_string(j);
      jobs.push_back({job, Pick(0, 3) ? 1 : 0, Pick(0, 4) ? 0 : 1});
      lines.push_back({job, 1, Day(Pick(-2, 22), Pick(0, 5) ? 0 : 12)});
      for (int m = 1; m <= 3; ++m) materials.push_back({job, 1, m, Product(), Pick(1, 20) * 0.25});
    }
    InsertRows(
        "KZ8TStockCard",
        {"TStcTInvNo", "TStcLn", "TStcTPdtCode", "TStcDate", "TStcStockKind", "TStcQuantity"},
        stock);
    InsertRows("KZ8TJob", {"TJobNo", "TJobApproveStatus", "TJobCancelStatus"}, jobs);
    InsertRows("KZ8TJobMB", {"TJbMTJobNo", "TJbMLn", "TJbMSourceDate"}, lines);
    InsertRows("KZ8TJobMaterial",
               {"TJMtTJbMTJobNo", "TJMtTJbMLn", "TJMtLn", "TJMtProductCode", "TJMtQuantity"},
               materials);
    // Balances the planner fixed, and closings left by earlier runs.
    for (int i = 0; i < 6; ++i) {
      const std::string product = Product();
      const OleDate day = Day(Pick(-3, 18));
      if (model_.count({product, day.Serial()})) continue;
      ModelRow& row = model_[{product, day.Serial()}];
      row[kFlag] = i % 2;
      row[kFixedFG] = Pick(0, 400) * 0.5;
      row[kEnd] = Pick(-50, 50);
      InsertRows("KZ8TMRP",
                 {"TMRPTPdtCode", "TMRPDate", "TMRPBalanceFlag", "TMRPBalanceFG", "TMRPFGEnd"},
                 {{product, day, row[kFlag], row[kFixedFG], row[kEnd]}});
    }
  }

  double LatestClosingBefore(const std::string& product, OleDate day) {
    const auto it = model_.lower_bound({product, day.Serial()});
    if (it == model_.begin() || std::prev(it)->first.first != product) return 0;
    const Value& end = std::prev(it)->second[kEnd];
    return end.IsNull() ? 0 : end.AsNumber();
  }

  // The rules, one day after the other.
  void Reference(const std::string& p, OleDate from, OleDate to, int mode, double b,
                 bool built_only) {
    const kz8mrp::host::InventoryTools stock;
    double rm = 0, wip = 0;
    for (OleDate d = from; !(d > to); d = d.AddDays(1)) {
      ModelRow& row = model_[{p, d.CalendarDay().Serial()}];
      if (!built_only) {
        int f = 1;
        if (mode != 1 && !row[kFlag].IsNull() && row[kFlag].AsNumber() == 1) {
          b = row[kFixedFG].IsNull() ? 0 : row[kFixedFG].AsNumber();
        } else if (mode != 1) {
          b = LatestClosingBefore(p, d.CalendarDay());
          f = 0;
        }
        rm =
            d == from ? stock.Balance(*data_, p, d, "RM") : rm + stock.Balance2(*data_, p, d, "RM");
        wip = d == from ? stock.Balance(*data_, p, d, "WIP")
                        : wip + stock.Balance2(*data_, p, d, "WIP");
        const double received = stock.Balance3(*data_, p, d, "");
        const double mr = engine_.GETMR(*data_, p, d);
        const double end = b + received - mr;
        const double wip_fg = stock.Balance(*data_, p, d, "RM-OUT");
        row = {f, b, b, received, mr, end, rm, wip, wip_fg, rm + wip + end};
      }
      row[kFlag1] = 1;
      row[kStamp] = now_;
    }
  }

  // The table, or the model, as DbTest::Values shows rows in key order.
  std::string Lines(bool stored) {
    if (stored) {
      return Values(std::string("SELECT TMRPTPdtCode,TMRPDate,") + kColumns +
                    " FROM KZ8TMRP ORDER BY TMRPTPdtCode,TMRPDate");
    }
    std::string out;
    for (const auto& [key, m] : model_) {
      out += (out.empty() ? "" : ";") + key.first + "|" + Value(OleDate(key.second)).AsText();
      for (const Value& v : m) out += "|" + (v.IsNull() ? std::string("null") : v.AsText());
    }
    return out.empty() ? "no row" : out;
  }
};

// Random plants, each planned over overlapping ranges in every balance mode,
// some ranges empty and some starting or ending at a time of day.
TEST_P(MrpDaysTest, SetWiseRunsStoreWhatTheDayByDayRulesStore) {
  for (unsigned seed = 1; seed <= (IsPostgres() ? 4u : 10u); ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    rng_.seed(seed);
    for (const char* t : {"KZ8TStockCard", "KZ8TJob", "KZ8TJobMB", "KZ8TJobMaterial", "KZ8TMRP"}) {
      Exec(std::string("DELETE FROM ") + t);
    }
    model_.clear();
    data_->SetNow(now_ = now_.AddHours(1));
    RandomPlant();
    for (int run = 0; run < 8; ++run) {
      const std::string p = Product();
      const OleDate from = Day(Pick(-2, 15), Pick(0, 3) ? 0 : 13);
      const OleDate to = from.CalendarDay().AddDays(Pick(-1, 10)).AddHours(Pick(0, 3) ? 0 : 6);
      const int mode = Pick(0, 2);
      const double balance = Pick(-10, 100);
      const bool built_only = Pick(0, 4) == 0;
      ASSERT_EQ(engine_.GenerateMRP4(*data_, p, from, to, Integer(mode), balance, built_only), 1);
      Reference(p, from, to, mode, balance, built_only);
      ASSERT_EQ(Lines(true), Lines(false)) << "run " << run << " of " << p;
    }
  }
}

// Requirements are read apart from the planner's open transaction; the job
// counts once it is committed.
TEST_P(MrpDaysTest, OnlyCommittedJobsAreRequired) {
  data_->BeginTrans();
  for (const char* sql :
       {"INSERT INTO KZ8TJob (TJobNo,TJobApproveStatus,TJobCancelStatus) VALUES ('J',1,0)",
        "INSERT INTO KZ8TJobMB (TJbMTJobNo,TJbMLn,TJbMSourceDate) VALUES "
        "('J',1,'2027-03-02 00:00:00')",
        "INSERT INTO KZ8TJobMaterial (TJMtTJbMTJobNo,TJMtTJbMLn,TJMtLn,TJMtTPdtCode,"
        "TJMtProductCode,TJMtQuantity) VALUES ('J',1,1,'LEG','A',7)"}) {
    data_->ExecuteSQL(sql);
  }
  engine_.GenerateMRP4(*data_, "A", Day(0), Day(2), Integer(0), 0, false);
  EXPECT_EQ(engine_.GETMR(*data_, "A", Day(1)), 0);
  data_->CommitTrans();
  EXPECT_EQ(Scalar("SELECT SUM(TMRPMR) FROM KZ8TMRP"), "0");
  EXPECT_EQ(engine_.GETMR(*data_, "A", Day(1)), 7);

  // A job's material lines name the rows to make: product LEG on the line's day.
  EXPECT_EQ(engine_.GenerateMRPFromMR(*data_, "J"), 0);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TMRP WHERE TMRPTPdtCode='LEG' AND "
                   "TMRPDate='2027-03-02 00:00:00' AND TMRPFGEnd IS NULL"),
            "1");
}

KZ8_INSTANTIATE_DB_TEST(MrpDaysTest);

}  // namespace
}  // namespace kz8test
