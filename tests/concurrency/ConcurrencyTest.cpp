// Eight planners at once, as threads of one program and as separate programs:
// every committed document gets its own number, none is lost to an abandoned
// transaction, and the job's totals count every order they made.
#include "common/Text.h"
#include "concurrency/Planners.h"
#include "jobs/JobFixture.h"
#include "support/Process.h"

#include <functional>
#include <future>
#include <set>

namespace kz8test {
namespace {

constexpr int kPlanners = 8;
using Planner = std::function<std::vector<std::string>(int planner)>;

class ConcurrencyTest : public JobTest {
 protected:
  // Everything the eight planners made, all at once.
  static std::vector<std::string> AllAtOnce(const Planner& planner) {
    std::vector<std::future<std::vector<std::string>>> running;
    running.reserve(kPlanners);
    for (int i = 0; i < kPlanners; ++i)
      running.push_back(std::async(std::launch::async, planner, i));
    std::vector<std::string> made;
    for (auto& r : running) {
      const std::vector<std::string> some = r.get();  // rethrows any error a planner met
      made.insert(made.end(), some.begin(), some.end());
    }
    return made;
  }
  // The lines a planner in a process of its own printed.
  std::vector<std::string> InProcess(const std::vector<std::string>& words) {
    std::vector<std::string> argv = {KZ8MRP_PLANNER, connection_string_};
    argv.insert(argv.end(), words.begin(), words.end());
    const Outcome o = RunProgram(argv);
    EXPECT_EQ(o.status, 0) << o.err;
    std::vector<std::string> lines = kz8mrp::text::Split(o.out, '\n');
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
  }
};

TEST_P(ConcurrencyTest, NoNumberIsIssuedTwiceNorLost) {
  constexpr int kEach = 200;
  const Planner ways[] = {[this](int) { return DrawNumbers(connection_string_, kEach); },
                          [this](int) {
                            return InProcess({"numbers", std::to_string(kEach)});
                          }};
  std::set<int> serials;
  int drawn = 0;
  for (const Planner& way : ways) {
    for (const std::string& n : AllAtOnce(way)) {
      serials.insert(std::stoi(n.substr(n.rfind('-') + 1)));
      ++drawn;
    }
    EXPECT_EQ(serials.size(), static_cast<std::size_t>(drawn)) << "a number was issued twice";
    EXPECT_EQ(*serials.rbegin(), drawn) << "a number was lost";
  }
}

TEST_P(ConcurrencyTest, EveryPlannersOrderCountsInTheJobsTotals) {
  constexpr int kEach = 4;
  Job("J1");
  for (int i = 0; i < kPlanners; ++i)
    Insert("KZ8TJobProdBook", {{"TJPkCode", "B" + std::to_string(i)}});
  for (int ln = 1; ln <= kOrderedLines; ++ln) {
    JobLine("J1", ln, "TBL", 100);
    InsertRows("KZ8TJobMethod",
               {"TJStTJbMTJobNo", "TJStTJbMLn", "TJStTSpdStep", "TJStLevel", "TJStLn",
                "TJStTPdtCode", "TJStQuantity"},
               {{"J1", ln, 1, 1, ln, "TBL", 1}});
  }
  const auto totals = [this] {
    return Values("SELECT TJobTotalRequest, TJobTotalArrear2, TJoBTotalRequest3 FROM KZ8TJob") +
           "/" + Values("SELECT SUM(TJbMTotalRequest), SUM(TJbMTotalArrear3) FROM KZ8TJobMB");
  };
  const Planner ways[] = {
      [this](int i) { return MakeOrders(connection_string_, "J1", i, kEach); },
      [this](int i) {
        return InProcess({"orders", "J1", std::to_string(i), std::to_string(kEach)});
      }};
  std::set<std::string> numbers;
  int batches = 0;
  for (const Planner& way : ways) {
    for (const std::string& no : AllAtOnce(way)) numbers.insert(no);
    EXPECT_EQ(numbers.size(), static_cast<std::size_t>(++batches * kPlanners * kEach));
    const std::string after_the_rush = totals();
    AdjustJob("J1");
    EXPECT_EQ(after_the_rush, totals());
  }
}

KZ8_INSTANTIATE_DB_TEST(ConcurrencyTest);

}  // namespace
}  // namespace kz8test
