// Eight planners drawing numbers of the same kind and book at the same moment,
// as threads of one program and as separate programs: every committed document
// gets its own number, nobody sees an error, and a number drawn in an
// abandoned transaction goes back to the counter instead of being lost.
#include "concurrency/NumberDrawing.h"
#include "support/Process.h"
#include "support/TestDb.h"

#include <future>
#include <set>
#include <sstream>

namespace kz8test {
namespace {

constexpr int kSessions = 8;
constexpr int kNumbersEach = 200;

class NumberingTest : public DbTest {
 protected:
  // Every committed document has its own number and none is missing: the
  // number of an abandoned document went back to the counter for the next one.
  void ExpectEveryNumberOnce(const std::vector<std::string>& numbers) {
    std::set<int> serials;
    for (const std::string& n : numbers) serials.insert(std::stoi(n.substr(n.rfind('-') + 1)));
    EXPECT_EQ(numbers.size(), static_cast<std::size_t>(kSessions * kNumbersEach));
    EXPECT_EQ(serials.size(), numbers.size()) << "a number was issued twice";
    EXPECT_EQ(*serials.rbegin(), kSessions * kNumbersEach) << "a number was lost";
  }
};

TEST_P(NumberingTest, EightSessionsInThreadsNeverShareANumber) {
  std::vector<std::future<std::vector<std::string>>> sessions;
  sessions.reserve(kSessions);
  for (int i = 0; i < kSessions; ++i) {
    sessions.push_back(
        std::async(std::launch::async, DrawNumbers, connection_string_, kNumbersEach));
  }
  std::vector<std::string> numbers;
  for (auto& s : sessions) {
    const std::vector<std::string> drawn = s.get();  // rethrows any error a session met
    numbers.insert(numbers.end(), drawn.begin(), drawn.end());
  }
  ExpectEveryNumberOnce(numbers);
}

TEST_P(NumberingTest, EightSessionsInProcessesNeverShareANumber) {
  std::vector<std::future<Outcome>> sessions;
  sessions.reserve(kSessions);
  for (int i = 0; i < kSessions; ++i) {
    sessions.push_back(std::async(std::launch::async, [this] {
      return RunProgram({KZ8MRP_DRAW_NUMBERS, connection_string_, std::to_string(kNumbersEach)});
    }));
  }
  std::vector<std::string> numbers;
  for (auto& s : sessions) {
    const Outcome o = s.get();
    EXPECT_EQ(o.status, 0) << o.err;
    std::istringstream lines(o.out);
    for (std::string line; std::getline(lines, line);) numbers.push_back(line);
  }
  ExpectEveryNumberOnce(numbers);
}

KZ8_INSTANTIATE_DB_TEST(NumberingTest);

}  // namespace
}  // namespace kz8test
