// The daily finished-goods plan against a plain day-by-day reading of the
// planning rules, on random plants, and what only committed jobs may change.
#include "host/services/InventoryTools.h"
#include "support/TestDb.h"

#include <algorithm>
#include <map>
#include <optional>
#include <random>

namespace kz8test {
namespace {

using kz8mrp::ByRef;
using kz8mrp::Integer;
using kz8mrp::OleDate;
using kz8mrp::db::Value;

const OleDate kBase = OleDate::FromParts(2027, 3, 1);
const std::vector<std::string> kProducts = {"A", "B'--x", "C#$y"};
constexpr const char* kKinds[] = {"RM", "WIP", "RM-OUT", "FG", "XX"};

struct ModelRow {
  Value flag, fg, begin, receive, mr, end, rm, wip, wip_fg, total, flag1, stamp;
};

class MrpDaysTest : public DbTest {
 protected:
  std::mt19937 rng_;
  std::map<std::pair<std::string, double>, ModelRow> model_;
  OleDate now_ = OleDate::FromParts(2027, 2, 1, 9);

  int Pick(int lo, int hi) { return std::uniform_int_distribution(lo, hi)(rng_); }
  OleDate Day(int offset, double hours = 0) { return kBase.AddDays(offset).AddHours(hours); }

  void RandomPlant() {
    for (int i = 0; i < 40; ++i) {
      const std::string product = i % 9 == 0 ? "OTHER" : kProducts[Pick(0, 2)];
      Insert("KZ8TStockCard", {{"TStcTInvNo", "D" + std::to_string(i)},
                               {"TStcLn", 1},
                               {"TStcTPdtCode", product},
                               {"TStcDate", Day(Pick(-5, 25), Pick(0, 2) * 8.5)},
                               {"TStcStockKind", kKinds[Pick(0, 4)]},
                               {"TStcQuantity", Pick(-20, 40) * 0.5}});
    }
    for (int j = 0; j < 8; ++j) {
      const std::string job = "J'" + std::to_string(j);
      Insert("KZ8TJob", {{"TJobNo", job},
                         {"TJobApproveStatus", Pick(0, 3) > 0 ? 1 : 0},
                         {"TJobCancelStatus", Pick(0, 4) == 0 ? 1 : 0}});
      Insert("KZ8TJobMB", {{"TJbMTJobNo", job},
                           {"TJbMLn", 1},
                           {"TJbMSourceDate", Day(Pick(-2, 22), Pick(0, 5) == 0 ? 12 : 0)}});
      for (int m = 1; m <= 3; ++m) {
        Insert("KZ8TJobMaterial", {{"TJMtTJbMTJobNo", job},
                                   {"TJMtTJbMLn", 1},
                                   {"TJMtLn", m},
                                   {"TJMtProductCode", kProducts[Pick(0, 2)]},
                                   {"TJMtQuantity", Pick(1, 20) * 0.25}});
      }
    }
    // Balances the planner fixed, and closings left by earlier runs.
    for (int i = 0; i < 6; ++i) {
      const std::string product = kProducts[Pick(0, 2)];
      const OleDate day = Day(Pick(-3, 18));
      if (model_.count({product, day.Serial()})) continue;
      ModelRow row;
      row.flag = i % 2;
      row.fg = Pick(0, 400) * 0.5;
      row.end = Pick(-50, 50);
      Insert("KZ8TMRP", {{"TMRPTPdtCode", product},
                         {"TMRPDate", day},
                         {"TMRPBalanceFlag", row.flag},
                         {"TMRPBalanceFG", row.fg},
                         {"TMRPFGEnd", row.end}});
      model_[{product, day.Serial()}] = row;
    }
  }

  double Sql(const std::string& sql, const std::vector<Value>& params) {
    const auto rs = fixture_connection().Query(sql, params);
    return rs.rows.empty() || rs.rows[0][0].IsNull() ? 0 : rs.rows[0][0].AsNumber();
  }
  double Requirement(const std::string& product, OleDate day) {
    const auto& b = fixture_connection().backend();
    return Sql("SELECT SUM(TJMtQuantity) FROM KZ8VJobMaterial WHERE TJbMSourceDate=" +
                   b.Placeholder(1) + " AND TJMtProductCode=" + b.Placeholder(2) +
                   " AND TJobApproveStatus=1 AND TJobCancelStatus=0",
               {day, product});
  }
  Value LatestClosingBefore(const std::string& product, OleDate day) {
    auto it = model_.lower_bound({product, day.Serial()});
    if (it == model_.begin() || std::prev(it)->first.first != product) return 0;
    const Value& end = std::prev(it)->second.end;
    return end.IsNull() ? Value(0) : end;
  }

  // The rules, one day after the other.
  void Reference(const std::string& p, OleDate from, OleDate to, int mode, double balance_fg,
                 bool built_only) {
    const kz8mrp::host::InventoryTools stock;
    double rm = 0, wip = 0, b = balance_fg;
    for (OleDate d = from; !(d > to); d = d.AddDays(1)) {
      ModelRow& row = model_[{p, d.CalendarDay().Serial()}];
      if (!built_only) {
        int f = 1;
        if (mode != 1 && !row.flag.IsNull() && row.flag.AsNumber() == 1) {
          b = row.fg.IsNull() ? 0 : row.fg.AsNumber();
        } else if (mode != 1) {
          b = LatestClosingBefore(p, d.CalendarDay()).AsNumber();
          f = 0;
        }
        rm =
            d == from ? stock.Balance(*data_, p, d, "RM") : rm + stock.Balance2(*data_, p, d, "RM");
        wip = d == from ? stock.Balance(*data_, p, d, "WIP")
                        : wip + stock.Balance2(*data_, p, d, "WIP");
        const double received = stock.Balance3(*data_, p, d, "");
        const double mr = Requirement(p, d.CalendarDay());
        const double end = b + received - mr;
        row = {f,
               b,
               b,
               received,
               mr,
               end,
               rm,
               wip,
               stock.Balance(*data_, p, d, "RM-OUT"),
               rm + wip + end,
               {},
               {}};
      }
      row.flag1 = 1;
      row.stamp = now_;
    }
  }

  std::vector<std::string> Stored() {
    std::vector<std::string> out;
    for (const auto& r :
         Query("SELECT TMRPTPdtCode,TMRPDate,TMRPBalanceFlag,TMRPBalanceFG,TMRPFGBegin,"
               "TMRPFGReceive,TMRPMR,TMRPFGEnd,TMRPRM,TMRPWIP,TMRPWIPFG,TMRPTotal,TMRPFlag1,"
               "TMRPFlag3 FROM KZ8TMRP")
             .rows) {
      std::string line;
      for (const Value& v : r) line += v.AsText() + "|";
      out.push_back(line);
    }
    std::sort(out.begin(), out.end());
    return out;
  }
  std::vector<std::string> Expected() {
    std::vector<std::string> out;
    for (const auto& [key, m] : model_) {
      std::string line = key.first + "|" + OleDate(key.second).ToString() + "|";
      for (const Value* v : {&m.flag, &m.fg, &m.begin, &m.receive, &m.mr, &m.end, &m.rm, &m.wip,
                             &m.wip_fg, &m.total, &m.flag1, &m.stamp}) {
        line += v->AsText() + "|";
      }
      out.push_back(line);
    }
    std::sort(out.begin(), out.end());
    return out;
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
      const std::string p = kProducts[Pick(0, 2)];
      const OleDate from = Day(Pick(-2, 15), Pick(0, 3) == 0 ? 13 : 0);
      const OleDate to = from.CalendarDay().AddDays(Pick(-1, 10)).AddHours(Pick(0, 3) == 0 ? 6 : 0);
      const int mode = Pick(0, 2);
      const double balance = Pick(-10, 100);
      const bool built_only = Pick(0, 4) == 0;
      ASSERT_EQ(engine_.GenerateMRP4(*data_, p, from, to, Integer(mode), balance, built_only), 1);
      Reference(p, from, to, mode, balance, built_only);
      ASSERT_EQ(Stored(), Expected()) << "run " << run << " of " << p;
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
