// The schedule page as a planner opens it: in a real browser, from the file.
#include "Chromium.h"
#include "support/Process.h"
#include "support/TestDb.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace kz8test {
namespace {

namespace fs = std::filesystem;
using kz8mrp::OleDate;

struct Booking {
  const char* no;
  const char* section;
  const char* start;
  const char* end;
  double hours;
  const char* type;
  const char* job;
  int status;
};

// A week, a day before it and one after; the second is half inside.
const Booking kBookings[] = {
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

class ScheduleChartTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    InsertRows("KZ8TSection", {"TSecCode", "TSecName", "TSecHOffice"},
               {{"CUT", "Cutting", 8}, {"ASM", "ประกอบชิ้นงาน", 7.5}});
    InsertRows("KZ8TEmpHoliday", {"TEhdHolidayDate", "TEhdYear"},
               {{"2027-01-09", 2027}, {"2027-01-10", 0}});
    for (const Booking& b : kBookings) {
      InsertRows(
          "KZ8TMPS",
          {"TMPSNo", "TMPSTSecCode", "TMPSStartDate", "TMPSEndDate", "TMPSHour", "TMPSReserveType",
           "TMPSTJStTJbMTJobNo", "TMPSTJStTJbMLn", "TMPSTJStLn", "TMPSStatus"},
          {{b.no, b.section, b.start, b.end, b.hours, b.type, b.job, 1, 2, b.status}});
    }
    page_ = connection_string_ + ".schedule.html";  // beside the fixture's database
    if (IsPostgres())
      page_ =
          (fs::temp_directory_path() / ("kz8mrp-" + Scalar("SELECT current_database()") + ".html"))
              .string();
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
  std::string PageText() { return (std::stringstream() << std::ifstream(page_).rdbuf()).str(); }
  std::string page_;
};

TEST_P(ScheduleChartTest, BadRangesLeaveThePageAsItWasAndTheTableListsTheBookings) {
  std::ofstream(page_) << "the last good page";
  const std::pair<const char*, const char*> bad[] = {{"2027-01-10", "2027-01-04"},
                                                     {"2027-01-04", "2032-01-04"},
                                                     {"2027-02-30", "2027-03-01"},
                                                     {"4 Jan", "2027-01-10"}};
  for (const auto& [from, to] : bad) {
    const Outcome o = Schedule(from, to);
    EXPECT_EQ(o.status, 2) << from << " " << to;
    EXPECT_NE(o.err.find("kz8mrp: "), std::string::npos) << o.err;
  }
  EXPECT_EQ(PageText(), "the last good page");
  ASSERT_EQ(Schedule("2027-01-04", "2027-01-10").status, 0);
  const std::string page = PageText();
  EXPECT_EQ(page.find("<b>"), std::string::npos);
  EXPECT_NE(page.find("J-&lt;b&gt;&amp;&quot;]]&gt;&lt;/b&gt;"), std::string::npos);
  for (const auto& entry : fs::directory_iterator(fs::path(page_).parent_path())) {
    EXPECT_EQ(entry.path().string().rfind(page_ + ".", 0), std::string::npos) << entry.path();
  }
  const Outcome table = Schedule("2027-01-04", "2027-01-10", false);
  EXPECT_NE(
      table.out.find("MPS-SAW         maintenance      2027-01-05 09:30  2027-01-05 12:00    2.5"),
      std::string::npos)
      << table.out;
  EXPECT_EQ(table.out.find("MPS-AFTER"), std::string::npos);
}

// How much of a screenshot is not white, and in how many colours: the page
// decodes the picture itself.
constexpr const char* kInk = R"((async shot => {
  const png = Uint8Array.from(atob(shot), c => c.charCodeAt(0));
  const image = await createImageBitmap(new Blob([png], {type: 'image/png'}));
  const g = new OffscreenCanvas(image.width, image.height).getContext('2d');
  g.drawImage(image, 0, 0);
  const px = g.getImageData(0, 0, image.width, image.height).data, colours = new Set();
  let inked = 0;
  for (let i = 0; i < px.length; i += 4) {
    const rgb = px[i] << 16 | px[i + 1] << 8 | px[i + 2];
    colours.add(rgb);
    inked += rgb !== 0xFFFFFF;
  }
  return [inked / (image.width * image.height), colours.size];
}))";

constexpr const char* kLayout = R"((() => {
  const svg = document.querySelector('svg'), s = svg.getBoundingClientRect();
  return {x0: s.left + +svg.dataset.originX, day: +svg.dataset.dayWidth,
          bars: [...document.querySelectorAll('rect.bar[data-no]')].map(r => {
            const b = r.getBoundingClientRect(); return [r.dataset.no, b.left, b.width]; }),
          markup: document.querySelectorAll('body b, script').length,
          titles: [...document.querySelectorAll('title')].map(t => t.textContent).join('\n')};
})())";

TEST_P(ScheduleChartTest, TheBrowserDrawsEveryBookingOfTheWeekWhereItsHoursLie) {
  if (Chromium::Executable().empty()) {
    GTEST_SKIP() << "Chromium is not installed (apt-get install chromium): the page was not "
                    "opened in a browser";
  }
  ASSERT_EQ(Schedule("2027-01-04", "2027-01-10").status, 0);
  Chromium browser;
  for (const char* domain : {"Runtime.enable", "Log.enable", "Network.enable", "Page.enable"}) {
    browser.Call(domain);
  }
  browser.Call("Emulation.setDeviceMetricsOverride",
               {{"width", 1280}, {"height", 800}, {"deviceScaleFactor", 1}, {"mobile", false}});
  const std::string url = "file://" + fs::absolute(page_).string();
  browser.Call("Page.navigate", {{"url", url}});
  browser.WaitFor("Page.loadEventFired");
  const Json layout = browser.Evaluate(kLayout);

  std::map<std::string, std::pair<double, double>> drawn;
  for (const Json& bar : layout["bars"]) drawn[bar[0]] = {bar[1], bar[2]};
  std::size_t in_range = 0;
  for (const Booking& b : kBookings) {
    const OleDate start = std::max(OleDate::Parse(b.start), kFrom);
    const OleDate end = std::min(OleDate::Parse(b.end), kEnd);
    if (!(start < end)) continue;
    ++in_range;
    const double day = layout["day"];
    ASSERT_TRUE(drawn.count(b.no)) << b.no;
    EXPECT_NEAR(drawn[b.no].first, layout["x0"].get<double>() + start.DaysSince(kFrom) * day, 0.5)
        << b.no;
    EXPECT_NEAR(drawn[b.no].second, end.DaysSince(start) * day, 0.5) << b.no;
  }
  EXPECT_EQ(drawn.size(), in_range);
  EXPECT_EQ(layout["markup"], 0) << "a reservation's text became markup";
  EXPECT_NE(layout["titles"].get<std::string>().find("job J-<b>&\"]]></b> line 1 step 2"),
            std::string::npos);

  for (const Json& e : browser.Events()) {
    const std::string method = e["method"];
    EXPECT_NE(method, "Runtime.exceptionThrown") << e.dump();
    const Json& p = e["params"];
    EXPECT_FALSE(method == "Runtime.consoleAPICalled" && p["type"] == "error") << e.dump();
    EXPECT_FALSE(method == "Log.entryAdded" && p["entry"]["level"] == "error") << e.dump();
    EXPECT_FALSE(method == "Network.requestWillBeSent" && p["request"]["url"] != url) << e.dump();
  }
  const std::string shot = browser.Call("Page.captureScreenshot", {{"format", "png"}})["data"];
  const Json ink = browser.Evaluate(kInk + ("('" + shot + "')"));
  EXPECT_GT(ink[0].get<double>(), 0.03) << "the screenshot is blank";
  EXPECT_GE(ink[1].get<int>(), 8);
}

KZ8_INSTANTIATE_DB_TEST(ScheduleChartTest);

}  // namespace
}  // namespace kz8test
