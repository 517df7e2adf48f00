// The kz8mrp command on either database kind: init on a database that already
// has the schema keeps its rows, setting writes and rewrites a value, and call
// runs a method on what was set.
#include "support/Process.h"
#include "support/TestDb.h"

namespace kz8test {
namespace {

class DatabaseCommandsTest : public DbTest {
 protected:
  Outcome Kz8mrp(const std::vector<std::string>& args) { return RunKz8mrp(args); }
};

TEST_P(DatabaseCommandsTest, InitSettingAndCallWorkOnTheDatabase) {
  Insert("KZ8TSection", {{"TSecCode", "ASM"}, {"TSecHOffice", 7.5}});
  EXPECT_EQ(Kz8mrp({"init", "--db", connection_string_}).status, 0);
  EXPECT_EQ(Kz8mrp({"setting", "--db", connection_string_, "MRPHourPerDayWithOT1", "10"}).status,
            0);
  EXPECT_EQ(Kz8mrp({"setting", "--db", connection_string_, "MRPHourPerDayWithOT1", "10.5"}).status,
            0);
  EXPECT_EQ(Kz8mrp({"setting", "--db", connection_string_, "MRPHourPerDayWithOT1"}).out, "10.5\n");
  const auto call = [&](const char* hour_type, const char* section) {
    return Kz8mrp({"call", "--db", connection_string_, "GETHourPerDay",
                   std::string("HourType=") + hour_type, std::string("SecCode=") + section})
        .out;
  };
  EXPECT_EQ(call("KZ8HourTypeOffice", "ASM"), "7.5\n");  // kept through init
  EXPECT_EQ(call("KZ8HourTypeWithOT1", "ASM"), "10.5\n");
}

KZ8_INSTANTIATE_DB_TEST(DatabaseCommandsTest);

}  // namespace
}  // namespace kz8test
