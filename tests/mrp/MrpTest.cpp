// The semi-finished explosion of a forecast: the material grid it builds and
// the forecast's material lines it stores. The daily finished-goods plan against
// a plain day-by-day reading of the rules, on random plants.
#include <kz8mrp/Error.h>

#include "common/Text.h"
#include "host/Sql.h"
#include "host/services/ConvertTools.h"
#include "host/services/DbTools.h"
#include "host/services/InventoryTools.h"
#include "host/services/SettingTools.h"
#include "mrp/Explosion.h"
#include "support/Errors.h"
#include "support/Process.h"
#include "support/TestDb.h"

#include <array>
#include <map>
#include <random>

namespace kz8test {
namespace {

namespace col = kz8mrp::mrp::material;

class ExplosionTest : public DbTest {
 protected:
  void Product(const std::string& code, double batch = 0, int self = 0, double scrap = 0) {
    InsertRows("KZ8TProduct",
               {"TPdtCode", "TPdtName", "TPdtTUntCode", "TPdtTUntCode2", "TPdtTUntCode3"},
               {{code, "name of " + code, "PCS", "BOX", "PAL"}});
    InsertRows("KZ8TProduct2",
               {"TPd2TPdtCode", "TPd2TotalQuantity", "TPd2SelfMat", "TPd2ScrapPCMRP"},
               {{code, batch, self, scrap}});
  }
  // Bill lines of `parent`, {ln, step, material, q[, explode[, scrap]]}:
  // quantities in units 1, 2, 3 are q, 2q, 3q.
  void Bill(const std::string& parent, const std::vector<std::vector<kz8mrp::db::Value>>& lines) {
    for (auto l : lines) {
      l.resize(6, 0);
      const double q = l[3].AsNumber();
      InsertRows("KZ8TProductMat",
                 {"TPMtTPdtCode", "TPmtLn", "TPMtTSpdStep", "TPmtNo", "TPmtAlternative",
                  "TPMtProductCode", "TPMtMatType", "TPMtAutoExplore", "TPMtQuantity",
                  "TPMtQuantity2", "TPMtQuantity3", "TPmtScrapPCMRP", "TPMtRemark"},
                 {{parent, l[0], l[1], l[0], 0, l[2], 1, l[4], q, 2 * q, 3 * q, l[5],
                   "line " + l[0].AsText()}});
    }
  }
  void Step(const std::string& product, int step, const std::string& code) {
    Insert("KZ8TProductMethod",
           {{"TSpdTPdtCode", product}, {"TSpdStep", step}, {"TSpdTSepCode", code}});
    Insert("KZ8TMRPStepName", {{"TSepCode", code}, {"TSepName", "step " + code}});
  }

  // The grid of an explosion, nothing stored.
  kz8mrp::mrp::WorkGrid Explode(const std::string& product, double quantity,
                                bool one_level = false) {
    kz8mrp::mrp::WorkGrids grids(app_);
    kz8mrp::mrp::Explosion(*data_, {convert_, db_, settings_}, 50000)
        .Run(grids.materials, product, quantity, one_level);
    return std::move(grids.materials);
  }
  // Each row as "level material quantity".
  static std::vector<std::string> Rows(const kz8mrp::mrp::WorkGrid& grid) {
    std::vector<std::string> rows;
    for (std::size_t r = 1; r <= grid.RowCount(); ++r) {
      rows.push_back(grid.CellText(r, col::kLevel) + " " + grid.CellText(r, col::kMaterial) + " " +
                     grid.CellText(r, col::kQuantity[0]));
    }
    return rows;
  }
  std::string Lines(const std::string& product) {
    return Values(
        "SELECT TSFMLn, TSFMTPdtCode, TSFMQuantity, TSFMTSepCode, TSFMType, TSFMTUntCode FROM "
        "KZ8TSaleForecastMT WHERE TSFMTSFCTPdtCode=" +
        kz8mrp::sql::Text(product) + " ORDER BY TSFMLn");
  }

  kz8mrp::host::ConvertTools convert_;
  kz8mrp::host::DbTools db_;
  kz8mrp::host::SettingTools settings_;
};

TEST_P(ExplosionTest, LinesComeLastStepFirstWithBatchAndBothScrapsApplied) {
  Product("CHAIR", 10, 1, 5);
  Step("CHAIR", 2, "PAINT");
  Step("CHAIR", 1, "CUT");
  // Line 3 is at a step the routing lacks.
  Bill("CHAIR", {{1, 1, "BOARD", 2, 0, 10}, {2, 2, "LACQUER", 1}, {3, 3, "LABEL", 1}});
  Product("BOARD");
  Bill("BOARD", {{1, 1, "LOG", 1}});

  const kz8mrp::mrp::WorkGrid grid = Explode("CHAIR", 50);
  // The chair itself first, at its lowest routing step; then steps 3, 2, 1.
  EXPECT_EQ(Rows(grid), (std::vector<std::string>{"1 CHAIR 50", "1 LABEL 5.25", "1 LACQUER 5.25",
                                                  "1 BOARD 11.55"}));
  EXPECT_EQ(grid.CellText(1, col::kStepCode) + "/" + grid.CellText(1, col::kStepName),
            "CUT/step CUT");
  EXPECT_EQ(grid.CellText(2, col::kStepCode) + "/" + grid.CellText(2, col::kStepName), "/");
  EXPECT_EQ(grid.CellText(3, col::kStepCode), "PAINT");
  // 2 / 10 x 50 x 1.05 x 1.10 in unit 1; units 2 and 3 use the parent's unit-1 quantity too.
  EXPECT_DOUBLE_EQ(grid.CellNumber(4, col::kToOrder[1]), 2 * 11.55);
  EXPECT_EQ(grid.CellText(4, col::kUnit[2]) + grid.CellText(4, col::kHasBill) +
                grid.CellText(3, col::kHasBill) + grid.CellText(4, col::kRemark),
            "PAL10line 1");
}

TEST_P(ExplosionTest, BatchOutputFallsBackToTheDefaultThenToOne) {
  for (const auto& [batch, setting, quantity] :
       {std::tuple{4.0, "8", 2.5}, {0.0, "8", 1.25}, {0.0, "0", 10.0}, {0.0, "", 10.0}}) {
    const std::string p = "P" + kz8mrp::text::NumberText(batch) + setting;
    Product(p, batch);
    Bill(p, {{1, 1, "M", 1}});
    Setting("DefaultOutputQuantity", setting);
    EXPECT_EQ(Explode(p, 10).CellNumber(1, col::kQuantity[0]), quantity) << p;
  }
}

TEST_P(ExplosionTest, LevelsFollowOnlyRowsMarkedForExplosion) {
  Product("A");
  // C has a bill but is not marked for explosion.
  Bill("A", {{1, 1, "B", 2, 1}, {2, 1, "C", 1, 0}, {3, 1, "D", 1, 1}});
  Product("B");
  // B's line 2 has no material: its row is filled by the next line.
  Bill("B", {{1, 1, "X", 3}, {2, 1, "", 1}, {3, 1, "Y", 1}});
  Product("C");
  Bill("C", {{1, 1, "Z", 1}});
  Product("D");
  Bill("D", {{1, 1, "W", 1}});

  EXPECT_EQ(Rows(Explode("A", 1)),
            (std::vector<std::string>{"1 B 2", "1 C 1", "1 D 1", "2 X 6", "2 Y 2", "2 W 1"}));
  EXPECT_EQ(Rows(Explode("A", 1, true)), (std::vector<std::string>{"1 B 2", "1 C 1", "1 D 1"}));
}

TEST_P(ExplosionTest, CyclesEndAfterLevel31AndDoublingBillsStopWithAnError) {
  Product("SELF");
  Bill("SELF", {{1, 1, "SELF", 1, 1}});
  Product("A'--#$");
  Bill("A'--#$", {{1, 1, "B", 1, 1}, {2, 1, "B", 1, 1}});
  Product("B");
  Bill("B", {{1, 1, "A'--#$", 1, 1}, {2, 1, "A'--#$", 1, 1}});

  const kz8mrp::mrp::WorkGrid self = Explode("SELF", 1);
  ASSERT_EQ(self.RowCount(), 31U);
  EXPECT_EQ(self.CellText(31, col::kLevel), "31");

  ExpectError([&] { engine_.GenerateSF2(*data_, "A'--#$", "AR", 2027, 1, 5, 1); },
              kz8mrp::errc::kOutOfMemory,
              "explosion of A'--#$ passes 50000 material rows at level 15");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TSaleForecastMT"), "0");
  EXPECT_EQ(data_->TransactionDepth(), 0);
}

TEST_P(ExplosionTest, ForecastLinesFollowGridRowsAndTouchOnlyTheirForecast) {
  const std::string product = "CH'--#$TSFC";
  Product(product, 1, 1);
  Step(product, 1, "CUT");
  // The grid ends with a row without material.
  Bill(product, {{1, 1, "BOARD", 2}, {2, 1, "", 1}});
  Product("BOARD");
  Product("OTHER");
  Bill("OTHER", {{1, 1, "BOARD", 1}});
  client_.SetBranchCode("B'1");
  data_->SetNow(kz8mrp::OleDate::FromParts(2027, 1, 5, 8));

  EXPECT_EQ(engine_.GenerateSF2(*data_, "OTHER", "AR'--", 2027, 1, 5, 1), 1);
  EXPECT_EQ(engine_.GenerateSF2(*data_, product, "AR'--", 2027, 1, 5, 3), 1);
  EXPECT_EQ(Lines(product), "1|" + product + "|3|CUT|0|PCS;2|BOARD|6|CUT|0|PCS");
  // Run again for a smaller quantity: the lines are overwritten in place, and a
  // line beyond the grid is left as it was.
  Exec("UPDATE KZ8TSaleForecastMT SET TSFMLn=9 WHERE TSFMTSFCTPdtCode='OTHER'");
  Exec("UPDATE KZ8TSaleForecastMT SET TSFMTSFCTPdtCode=" + kz8mrp::sql::Text(product) +
       " WHERE TSFMTSFCTPdtCode='OTHER'");
  EXPECT_EQ(engine_.GenerateSF2(*data_, product, "AR'--", 2027, 1, 5, 1), 1);
  EXPECT_EQ(Lines(product), "1|" + product + "|1|CUT|0|PCS;2|BOARD|2|CUT|0|PCS;9|BOARD|1||0|PCS");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TSaleForecastMT WHERE TSFMTSFCTBraCode='B''1' AND "
                   "TSFMTSFCTARNCode='AR''--' AND TSFMTSFCDay=5 AND TSFMFlag1=1 AND "
                   "TSFMTSpdStep=1"),
            "3");
  EXPECT_EQ(Scalar("SELECT MIN(TSFMFlag3) FROM KZ8TSaleForecastMT"), "2027-01-05 08:00:00");
  EXPECT_EQ(engine_.GenerateSF2(*data_, "NOTHING", "AR", 2027, 1, 5, 1), 1);
}

TEST_P(ExplosionTest, ExplodeCommandPrintsTheShownColumnsUnderTheirCaptions) {
  Product("CHAIR");
  Step("CHAIR", 1, "CUT");
  Bill("CHAIR", {{1, 1, "BOARD", 2.5, 1}});
  Product("BOARD");
  Bill("BOARD", {{1, 1, "LOG", 1}});

  setenv("COLUMNS", "200", 1);  // the width of a terminal, not of a pipe
  const Outcome r = RunKz8mrp({"explode", "--db", connection_string_, "CHAIR", "4"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> lines = kz8mrp::text::Split(r.out, '\n');
  ASSERT_GE(lines.size(), 5U) << r.out;
  EXPECT_EQ(lines[0], "materials for 4 CHAIR");
  EXPECT_TRUE(lines[1].starts_with("#  Lv  Pc  No  Alt.(0-N)  รหัสขั้นตอน  ชื่อขั้นตอน   รหัสวัตถุดิบ"))
      << r.out;
  EXPECT_TRUE(lines[3].starts_with("1   1   1   1          0  CUT       step CUT  BOARD")) << r.out;
  EXPECT_NE(lines[4].find("LOG"), std::string::npos) << r.out;
  const Outcome one =
      RunKz8mrp({"explode", "--db", connection_string_, "CHAIR", "4", "--one-level"});
  EXPECT_EQ(one.out.find("LOG"), std::string::npos) << one.out;
  EXPECT_EQ(RunKz8mrp({"explode", "--db", connection_string_, "CHAIR"}).status, 2);
  if (std::system("command -v script >/dev/null 2>&1") != 0) GTEST_SKIP() << "no script(1)";
  const Outcome fitted =
      RunKz8mrpOnTerminal({"explode", "--db", connection_string_, "CHAIR", "4"}, "");
  unsetenv("COLUMNS");
  // The rule under the heads is as wide as the table; a carriage return ends it.
  EXPECT_EQ(kz8mrp::text::DisplayWidth(kz8mrp::text::Split(fitted.out, '\n').at(2)), 200U + 1);
}

KZ8_INSTANTIATE_DB_TEST(ExplosionTest);

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
  OleDate base_ = kBase;

  int Pick(int lo, int hi) { return std::uniform_int_distribution(lo, hi)(rng_); }
  OleDate Day(int offset, double hours = 0) { return base_.AddDays(offset).AddHours(hours); }
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
      if (d.OnLastDay()) break;
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
// some ranges empty, some starting or ending at a time of day, seed 0's ending on 9999-12-31.
TEST_P(MrpDaysTest, SetWiseRunsStoreWhatTheDayByDayRulesStore) {
  for (unsigned seed = 0; seed <= (IsPostgres() ? 4u : 10u); ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    rng_.seed(seed);
    base_ = seed == 0 ? OleDate::FromParts(9999, 12, 6) : kBase;
    for (const char* t : {"KZ8TStockCard", "KZ8TJob", "KZ8TJobMB", "KZ8TJobMaterial", "KZ8TMRP"}) {
      Exec(std::string("DELETE FROM ") + t);
    }
    model_.clear();
    data_->SetNow(now_ = now_.AddHours(1));
    RandomPlant();
    for (int run = 0; run < 8; ++run) {
      const std::string p = Product();
      const OleDate from = Day(Pick(-2, 15), Pick(0, 3) ? 0 : 13);
      const OleDate to =
          seed ? from.CalendarDay().AddDays(Pick(-1, 10)).AddHours(Pick(0, 3) ? 0 : 6) : Day(25);
      const int mode = Pick(0, 2);
      const double balance = Pick(-10, 100);
      const bool built_only = Pick(0, 4) == 0;
      ASSERT_EQ(engine_.GenerateMRP4(*data_, p, from, to, Integer(mode), balance, built_only), 1);
      Reference(p, from, to, mode, balance, built_only);
      ASSERT_EQ(Lines(true), Lines(false)) << "run " << run << " of " << p;
    }
  }
}

// Requirements are read apart from the open transaction: a job counts once committed.
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
