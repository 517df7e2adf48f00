// The kz8mrp program: a job picked by --pick or on a terminal, and the demo of
// a job made from a sales order.
#include "common/Text.h"
#include "jobs/JobFixture.h"
#include "support/Process.h"

#include <algorithm>

namespace kz8test {
namespace {

// What a terminal shows in each cell of a line: a letter with its marks of
// zero width, a blank, or the right half of a wide letter ("").
std::vector<std::string> ScreenCells(const std::string& line) {
  std::vector<std::string> cells;
  for (std::size_t i = 0; i < line.size();) {
    const auto b = static_cast<unsigned char>(line[i]);
    const std::size_t len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    const std::string ch = line.substr(i, len);
    const std::size_t w = kz8mrp::text::DisplayWidth(ch);
    if (w == 0 && !cells.empty()) {
      cells.back() += ch;
    } else {
      cells.push_back(ch);
      if (w == 2) cells.emplace_back();
    }
    i += len;
  }
  return cells;
}

class CommandLineTest : public JobTest {
 protected:
  void SetUp() override {
    JobTest::SetUp();
    Job("J1", {{"TJobDate", "2027-01-02"}, {"TJobCode", "งานเก้าอี้ไม้สัก"}, {"TJobTPrjCode", "P1"}});
    Job("J2", {{"TJobDate", "2027-01-03"},
               {"TJobCode", "a job code far too long for one column of a terminal list"},
               {"TJobTPrjCode", "โครงการบ้านสวน"}});
    Job("J3", {{"TJobDate", "2027-01-04"}, {"TJobCode", "J-3"}});
  }

  // `kz8mrp call [options] SelectJob BranchCode=` on the test's database.
  std::vector<std::string> PickJob(const std::vector<std::string>& options) {
    std::vector<std::string> words = {"call", "--db", connection_string_};
    words.insert(words.end(), options.begin(), options.end());
    words.insert(words.end(), {"SelectJob", "BranchCode="});
    return words;
  }
};

TEST_P(CommandLineTest, PickOptionAnswersWithoutATerminal) {
  EXPECT_EQ(RunKz8mrp(PickJob({"--pick", "2"})).out, "J2\n");
  EXPECT_EQ(RunKz8mrp(PickJob({"--pick", "none"})).out, "\n");
  EXPECT_EQ(RunKz8mrp(PickJob({})).out, "\n");  // no one to ask: none picked

  const Outcome beyond = RunKz8mrp(PickJob({"--pick", "4"}));
  EXPECT_EQ(beyond.status, 2);
  EXPECT_NE(beyond.err.find("has 3 rows"), std::string::npos) << beyond.err;
  EXPECT_EQ(RunKz8mrp(PickJob({"--pick", "two"})).status, 2);
}

TEST_P(CommandLineTest, TerminalShowsAnAlignedTableAndAsksAgainOnABadAnswer) {
  if (std::system("command -v script >/dev/null 2>&1") != 0) GTEST_SKIP() << "no script(1)";
  const Outcome r = RunKz8mrpOnTerminal(PickJob({}), "x\n7\n3\n");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("please answer with one row number from the list (1-3)"), std::string::npos);
  std::vector<std::string> lines;
  for (std::string line : kz8mrp::text::Split(r.out, '\n')) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  EXPECT_EQ(lines.back(), "") << "the picked job ends the output";
  EXPECT_EQ(lines[lines.size() - 2].substr(lines[lines.size() - 2].size() - 4), ": J3");

  // The title, the heads, a rule under them, then one line per job.
  const auto title = std::find(lines.begin(), lines.end(), "เลือกรหัสงาน");
  ASSERT_LT(title + 5, lines.end()) << r.out;
  const std::vector<std::string> table(title + 1, title + 6);
  EXPECT_EQ(table[2].substr(0, 4), "1  J");
  EXPECT_NE(table[3].find("\xE2\x80\xA6"), std::string::npos) << "a long cell ends in an ellipsis";

  // Every column starts in the same screen cell on every line, Thai included.
  const std::vector<std::string> rule = ScreenCells(table[1]);
  std::vector<std::size_t> starts;
  for (std::size_t c = 1; c < rule.size(); ++c) {
    if (rule[c] == "-" && rule[c - 1] == " ") starts.push_back(c);
  }
  ASSERT_EQ(starts.size(), 4U) << table[1];
  EXPECT_LE(starts[3] - starts[2], 40U + 2U) << "a column is at most forty cells wide";
  for (const std::string& line : table) {
    const std::vector<std::string> cells = ScreenCells(line);
    for (const std::size_t s : starts) {
      if (cells.size() <= s) continue;  // an empty last cell leaves no blanks behind
      EXPECT_EQ(cells[s - 1], " ") << line;
      EXPECT_NE(cells[s], " ") << line;
    }
  }
}

// Run twice on one database, the demo rebuilds its job under the same number.
TEST_P(CommandLineTest, DemoShowsTheCalendarAndMakesAJobFromTheSalesOrder) {
  for (int run = 0; run < 2; ++run) {
    const Outcome r = RunKz8mrp({"demo", "--db", connection_string_});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("2027-01-01 Fri  holiday"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("job JOB-2612-00001"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("job totals: covered 4, still to order 16"), std::string::npos) << r.out;
  }
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TJob WHERE TJobRefNo='SO2612-0007'"), "1");
}

KZ8_INSTANTIATE_DB_TEST(CommandLineTest);

}  // namespace
}  // namespace kz8test
