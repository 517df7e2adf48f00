// Eight planners opening approved orders on the lines of one job at the same
// moment, as threads of one program and as separate programs: every order is
// made, and the job's totals count every one of them, as a recomputation on a
// quiet database does.
#include "concurrency/OrderMaking.h"
#include "jobs/JobFixture.h"
#include "support/Process.h"

#include <future>
#include <set>
#include <sstream>

namespace kz8test {
namespace {

constexpr int kPlanners = 8;
constexpr int kOrdersEach = 4;

class OrderingTest : public JobTest {
 protected:
  void SetUp() override {
    JobTest::SetUp();
    Job("J1");
    for (int i = 0; i < kPlanners; ++i) {
      Insert("KZ8TJobProdBook", {{"TJPkCode", "B" + std::to_string(i)}});
    }
    for (int ln = 1; ln <= kOrderedLines; ++ln) {
      JobLine("J1", ln, "TBL", 100);
      Insert("KZ8TJobMethod", {{"TJStTJbMTJobNo", "J1"},
                               {"TJStTJbMLn", ln},
                               {"TJStTSpdStep", 1},
                               {"TJStLevel", 1},
                               {"TJStLn", ln},
                               {"TJStTPdtCode", "TBL"},
                               {"TJStQuantity", 1}});
    }
  }
  std::string Totals() {
    return Values("SELECT TJobTotalRequest, TJobTotalArrear2, TJoBTotalRequest3 FROM KZ8TJob") +
           "/" + Values("SELECT SUM(TJbMTotalRequest), SUM(TJbMTotalArrear3) FROM KZ8TJobMB");
  }
};

TEST_P(OrderingTest, EveryPlannersOrderCountsInTheJobsTotals) {
  const std::function<std::vector<std::string>(int)> planners[] = {
      [this](int i) { return MakeOrders(connection_string_, "J1", i, kOrdersEach); },
      [this](int i) {
        const Outcome o = RunProgram({KZ8MRP_MAKE_ORDERS, connection_string_, "J1",
                                      std::to_string(i), std::to_string(kOrdersEach)});
        EXPECT_EQ(o.status, 0) << o.err;
        std::vector<std::string> numbers;
        std::istringstream lines(o.out);
        for (std::string line; std::getline(lines, line);) numbers.push_back(line);
        return numbers;
      }};
  std::set<std::string> numbers;
  int batches = 0;
  for (const auto& planner : planners) {
    std::vector<std::future<std::vector<std::string>>> running;
    running.reserve(kPlanners);
    for (int i = 0; i < kPlanners; ++i) {
      running.push_back(std::async(std::launch::async, planner, i));
    }
    for (auto& r : running) {
      for (const std::string& no : r.get()) numbers.insert(no);
    }
    EXPECT_EQ(numbers.size(), static_cast<std::size_t>(++batches * kPlanners * kOrdersEach));
    const std::string after_the_rush = Totals();
    AdjustJob("J1");
    EXPECT_EQ(after_the_rush, Totals());
  }
}

KZ8_INSTANTIATE_DB_TEST(OrderingTest);

}  // namespace
}  // namespace kz8test
