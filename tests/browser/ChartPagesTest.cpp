// The pages a planner opens in the browser, opened in a real one from the file.
#include "Chromium.h"
#include "support/Process.h"
#include "support/TestDb.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <tuple>

namespace kz8test {
namespace {

namespace fs = std::filesystem;
using kz8mrp::OleDate;

// A week, a day before it and one after; the second is half inside.
const std::vector<std::vector<kz8mrp::db::Value>> kBookings = {
    {"MPS-BEFORE", "CUT", "2027-01-01 08:00:00", "2027-01-01 12:00:00", 4, "WIP", "", 1},
    {"MPS-NIGHT", "CUT", "2027-01-03 20:00:00", "2027-01-04 02:00:00", 6, "WIP", "J-1", 1},
    {"MPS-CUT", "CUT", "2027-01-04 08:00:00", "2027-01-04 17:00:00", 8, "WIP", "J-1", 1},
    {"MPS-SAW", "CUT", "2027-01-05 09:30:00", "2027-01-05 12:00:00", 2.5, "MM", "", 1},
    {"MPS-STOCK", "ASM", "2027-01-06 08:00:00", "2027-01-06 16:30:00", 7.5, "HD", "", 1},
    {"MPS-FG", "ASM", "2027-01-07 00:00:00", "2027-01-07 09:00:00", 8, "FG", "J-<b>&\"]]></b>", 0},
    {"MPS-AFTER", "ASM", "2027-01-11 08:00:00", "2027-01-11 12:00:00", 4, "WIP", "", 1},
};
const OleDate kFrom = OleDate::FromParts(2027, 1, 4);
const OleDate kEnd = OleDate::FromParts(2027, 1, 11);  // midnight after the 10th
const OleDate kMarch1 = OleDate::FromParts(2027, 3, 1);

class ChartPageTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    InsertRows("KZ8TSection", {"TSecCode", "TSecName", "TSecHOffice"},
               {{"CUT", "Cutting", 8}, {"ASM", "ประกอบชิ้นงาน", 7.5}});
    InsertRows("KZ8TEmpHoliday", {"TEhdHolidayDate", "TEhdYear"},
               {{"2027-01-09", 2027}, {"2027-01-10", 0}});
    InsertRows("KZ8TMPS",
               {"TMPSNo", "TMPSTSecCode", "TMPSStartDate", "TMPSEndDate", "TMPSHour",
                "TMPSReserveType", "TMPSTJStTJbMTJobNo", "TMPSStatus"},
               kBookings);
    Exec("UPDATE KZ8TMPS SET TMPSTJStTJbMLn=1, TMPSTJStLn=2");
    page_ = fs::temp_directory_path() / ("kz8mrp-" + std::to_string(::getpid()) + ".html");
  }
  void TearDown() override {
    fs::remove(page_);
    DbTest::TearDown();
  }
  Outcome Schedule(const std::string& from, const std::string& to, bool html = true) {
    std::vector<std::string> words = {"schedule", "--db", connection_string_, "--from", from,
                                      "--to",     to};
    if (html) words.insert(words.end(), {"--html", page_});
    return RunKz8mrp(words);
  }
  std::string page_;
};

constexpr const char* kNoBrowser =
    "Chromium is not installed (apt-get install chromium): the page was not opened in a browser";

constexpr const char* kLayout = R"((() => {
  const svg = document.querySelector('svg'), s = svg.getBoundingClientRect();
  return {x0: s.left + +svg.dataset.originX, day: +svg.dataset.dayWidth,
          bars: [...document.querySelectorAll('rect.bar[data-no]')].map(r => {
            const b = r.getBoundingClientRect(); return [r.dataset.no, b.left, b.width]; }),
          markup: document.querySelectorAll('body b, script').length,
          titles: [...document.querySelectorAll('title')].map(t => t.textContent).join('\n')};
})())";

// A bad range leaves the last page as it was; the page and the table show the
// week's bookings, and the browser draws each where its hours lie.
TEST_P(ChartPageTest, TheScheduleListsAndDrawsEveryBookingOfTheWeek) {
  std::ofstream(page_) << "the last good page";
  // What a range may be is the mrp command's test's; the schedule's only refuses.
  const Outcome refused = Schedule("2027-01-10", "2027-01-04");
  EXPECT_EQ(refused.status, 2);
  EXPECT_THAT(refused.err, HasSubstr("kz8mrp: the range starts after it ends"));
  EXPECT_EQ(FileText(page_), "the last good page");
  ASSERT_EQ(Schedule("2027-01-04", "2027-01-10").status, 0);
  const std::string page = FileText(page_);
  EXPECT_THAT(page, Not(HasSubstr("<b>")));
  EXPECT_THAT(page, HasSubstr("J-&lt;b&gt;&amp;&quot;]]&gt;&lt;/b&gt;"));
  for (const auto& entry : fs::directory_iterator(fs::path(page_).parent_path()))
    EXPECT_EQ(entry.path().string().rfind(page_ + ".", 0), std::string::npos) << entry.path();
  const Outcome table = Schedule("2027-01-04", "2027-01-10", false);
  EXPECT_THAT(
      table.out,
      HasSubstr("MPS-SAW         maintenance      2027-01-05 09:30  2027-01-05 12:00    2.5"));
  EXPECT_THAT(table.out, Not(HasSubstr("MPS-AFTER")));

  if (Chromium::Executable().empty()) GTEST_SKIP() << kNoBrowser;
  Chromium browser;
  const std::string url = browser.Open(page_);
  const Json layout = browser.Evaluate(kLayout);

  std::map<std::string, std::pair<double, double>> drawn;
  for (const Json& bar : layout["bars"]) drawn[bar[0]] = {bar[1], bar[2]};
  std::size_t in_range = 0;
  for (const auto& b : kBookings) {
    const std::string no = b[0].AsText();
    const OleDate start = std::max(OleDate::Parse(b[2].AsText()), kFrom);
    const OleDate end = std::min(OleDate::Parse(b[3].AsText()), kEnd);
    if (!(start < end)) continue;
    ++in_range;
    const double day = layout["day"];
    ASSERT_TRUE(drawn.count(no)) << no;
    EXPECT_NEAR(drawn[no].first, layout["x0"].get<double>() + start.DaysSince(kFrom) * day, 0.5)
        << no;
    EXPECT_NEAR(drawn[no].second, end.DaysSince(start) * day, 0.5) << no;
  }
  EXPECT_EQ(drawn.size(), in_range);
  EXPECT_EQ(layout["markup"], 0) << "a reservation's text became markup";
  EXPECT_THAT(layout["titles"].get<std::string>(), HasSubstr("job J-<b>&\"]]></b> line 1 step 2"));

  browser.ExpectQuietAndDrawn(url);
}

constexpr const char* kMrpLayout = R"((() => {
  const svg = document.querySelector('svg'), s = svg.getBoundingClientRect();
  return {x0: s.left + +svg.dataset.originX, day: +svg.dataset.dayWidth,
          markup: document.querySelectorAll('body b, script').length,
          products: [...document.querySelectorAll('g.product')].map(g => ({
            code: g.dataset.product, zero: s.top + +g.dataset.zeroY, unit: +g.dataset.unit,
            lines: g.querySelectorAll('polyline.closing').length,
            short: g.querySelectorAll('rect.short').length,
            bars: [...g.querySelectorAll('rect.bar')].map(r => {
              const b = r.getBoundingClientRect();
              return [r.classList.contains('received'), r.dataset.day, (b.left + b.right) / 2,
                      b.top, b.bottom]; })}))};
})())";

// Boards (a code of quote, comment and date marker) run short on the 2nd, get four on the 3rd and
// are needed again on the 4th; the glue only comes in and the table never moves. The mrp command
// refuses bad requests before it writes a page or a row; the short product is drawn first.
TEST_P(ChartPageTest, MrpRunListsShortagesAndTheBrowserDrawsEachProductsDays) {
  const std::string board = "O'BRIEN--#$";
  InsertRows("KZ8TProduct", {"TPdtCode", "TPdtName"},
             {{"A-GLUE", "กาวไม้"}, {board, "ไม้อัด <b>&amp;</b>"}, {"TABLE", ""}});
  InsertRows("KZ8TJob", {"TJobNo", "TJobApproveStatus", "TJobCancelStatus"}, {{"J1", 1, 0}});
  InsertRows("KZ8TJobMB", {"TJbMTJobNo", "TJbMLn", "TJbMSourceDate"},
             {{"J1", 1, "2027-03-02"}, {"J1", 2, "2027-03-04"}});
  InsertRows("KZ8TJobMaterial",
             {"TJMtTJbMTJobNo", "TJMtTJbMLn", "TJMtLn", "TJMtProductCode", "TJMtQuantity"},
             {{"J1", 1, 1, board, 5}, {"J1", 2, 1, board, 2.5}});
  InsertRows("KZ8TStockCard",
             {"TStcTInvNo", "TStcLn", "TStcTPdtCode", "TStcDate", "TStcStockKind", "TStcQuantity"},
             {{"R1", 1, board, "2027-03-03", "FG", 4}, {"R2", 1, "A-GLUE", "2027-03-01", "FG", 3}});
  const auto mrp = [&](std::vector<std::string> words) {
    words.insert(words.begin(), {"mrp", "--db", connection_string_});
    return RunKz8mrp(words);
  };
  for (const auto& [from, to, more] :
       {std::tuple<const char*, const char*, const char*>{"2027-03-05", "2027-03-01", "A-GLUE"},
        {"2027-02-30", "2027-03-01", "A-GLUE"},
        {"2027-03-01", "2032-03-02", "A-GLUE"},
        {"2027-03-01", "2027-03-02", "SOFA"}}) {
    const Outcome r =
        mrp({"--from", from, "--to", to, "--product", "TABLE", "--product", more, "--html", page_});
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_FALSE(fs::exists(page_)) << from << " " << to << " " << more;
  }
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TMRP"), "0");
  const Outcome run =
      mrp({"--from", "2027-03-01", "--to", "2027-03-07", "--json", "--html", page_});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");  // no progress where there is no terminal
  EXPECT_EQ(Json::parse(run.out),
            Json::parse(R"({"from":"2027-03-01","to":"2027-03-07","products":3,
              "shortages":[{"product":"O'BRIEN--#$","first_day":"2027-03-02","lowest":-5}]})"));
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TMRP"), "21");
  // What the run stored: each day's receipt and requirement, by product.
  std::map<std::tuple<std::string, bool, std::string>, double> stored;
  for (const auto& row :
       Query("SELECT TMRPTPdtCode,TMRPDate,TMRPFGReceive,TMRPMR FROM KZ8TMRP").rows) {
    for (const bool received : {true, false}) {
      const double quantity = row[received ? 2 : 3].AsNumber();
      if (quantity != 0) stored[{row[0].AsText(), received, row[1].AsDate().DateText()}] = quantity;
    }
  }
  const Outcome shown =
      RunKz8mrpOnTerminal({"mrp", "--db", connection_string_, "--from", "2027-03-01", "--to",
                           "2027-03-02", "--product", "TABLE", "--product", board},
                          "");
  ASSERT_EQ(shown.status, 0) << shown.out;
  EXPECT_THAT(shown.out, HasSubstr("products 2/2"));
  EXPECT_THAT(shown.out, HasSubstr(board + "  2027-03-02       -5\r\n"));

  if (Chromium::Executable().empty()) GTEST_SKIP() << kNoBrowser;
  Chromium browser;
  const std::string url = browser.Open(page_);
  const Json layout = browser.Evaluate(kMrpLayout);
  ASSERT_EQ(layout["products"].size(), 3u);
  EXPECT_EQ(layout["products"][0]["code"], board);
  EXPECT_EQ(layout["markup"], 0) << "a product's name became markup";
  const double x0 = layout["x0"], day = layout["day"];
  std::size_t bars = 0;  // one for each day's receipt and each day's requirement
  for (const Json& p : layout["products"]) {
    EXPECT_EQ(p["lines"], 1);
    EXPECT_EQ(p["short"].get<int>() > 0, p["code"] == board);
    const double zero = p["zero"], unit = p["unit"];
    for (const Json& b : p["bars"]) {
      const bool received = b[0];
      const std::string date = b[1];
      const auto key = std::make_tuple(p["code"].get<std::string>(), received, date);
      ASSERT_TRUE(stored.count(key)) << b.dump();
      ++bars;
      const double middle = x0 + (OleDate::Parse(date).DaysSince(kMarch1) + 0.5) * day;
      EXPECT_NEAR(b[2].get<double>(), middle, 0.5) << b.dump();
      const double height = stored[key] * unit;
      EXPECT_NEAR(b[3].get<double>(), received ? zero - height : zero, 0.5) << b.dump();
      EXPECT_NEAR(b[4].get<double>(), received ? zero : zero + height, 0.5) << b.dump();
    }
  }
  EXPECT_EQ(bars, stored.size());
  browser.ExpectQuietAndDrawn(url);
}

KZ8_INSTANTIATE_DB_TEST(ChartPageTest);

}  // namespace
}  // namespace kz8test
