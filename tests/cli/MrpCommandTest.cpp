// kz8mrp mrp: the plant's finished goods planned in one run, and the products
// that run short.
#include "support/Process.h"
#include "support/TestDb.h"

#include <nlohmann/json.hpp>

#include <filesystem>

namespace kz8test {
namespace {

class MrpCommandTest : public DbTest {
 protected:
  Outcome Mrp(std::vector<std::string> words) {
    words.insert(words.begin(), {"mrp", "--db", connection_string_});
    return RunKz8mrp(words);
  }
};

TEST_P(MrpCommandTest, ListsProductsThatRunShortAndRefusesBadRequests) {
  InsertRows("KZ8TProduct", {"TPdtCode"}, {{"CHAIR"}, {"O'BRIEN--#$"}, {"TABLE"}});
  InsertRows("KZ8TJob", {"TJobNo", "TJobApproveStatus", "TJobCancelStatus"}, {{"J1", 1, 0}});
  InsertRows("KZ8TJobMB", {"TJbMTJobNo", "TJbMLn", "TJbMSourceDate"},
             {{"J1", 1, "2027-03-02"}, {"J1", 2, "2027-03-04"}});
  InsertRows("KZ8TJobMaterial",
             {"TJMtTJbMTJobNo", "TJMtTJbMLn", "TJMtLn", "TJMtProductCode", "TJMtQuantity"},
             {{"J1", 1, 1, "O'BRIEN--#$", 5}, {"J1", 2, 1, "O'BRIEN--#$", 2.5}});
  const std::string page = ::testing::TempDir() + "refused-mrp.html";
  for (std::vector<std::string> bad :
       {std::vector<std::string>{"--from", "2027-03-05", "--to", "2027-03-01"},
        {"--from", "2027-02-30", "--to", "2027-03-01"},
        {"--from", "2027-03-01", "--to", "2032-03-02"},
        {"--from", "2027-03-01", "--to", "2027-03-02", "--product", "TABLE", "--product",
         "SOFA"}}) {
    bad.insert(bad.end(), {"--html", page});
    const Outcome r = Mrp(bad);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_FALSE(std::filesystem::exists(page)) << bad[3];
  }
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TMRP"), "0");

  const Outcome json = Mrp({"--from", "2027-03-01", "--to", "2027-03-07", "--json"});
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_EQ(json.err, "");  // no progress where there is no terminal
  EXPECT_EQ(nlohmann::json::parse(json.out),
            nlohmann::json::parse(R"({"from":"2027-03-01","to":"2027-03-07","products":3,
              "shortages":[{"product":"O'BRIEN--#$","first_day":"2027-03-02","lowest":-7.5}]})"));
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TMRP"), "21");

  const Outcome shown =
      RunKz8mrpOnTerminal({"mrp", "--db", connection_string_, "--from", "2027-03-01", "--to",
                           "2027-03-02", "--product", "TABLE", "--product", "O'BRIEN--#$"},
                          "");
  ASSERT_EQ(shown.status, 0) << shown.out;
  EXPECT_THAT(shown.out, HasSubstr("products 2/2"));
  EXPECT_THAT(shown.out, HasSubstr("O'BRIEN--#$  2027-03-02       -5\r\n"));
}

KZ8_INSTANTIATE_DB_TEST(MrpCommandTest);

}  // namespace
}  // namespace kz8test
