#include <kz8mrp/Error.h>

#include "host/services/SettingTools.h"
#include "support/TestDb.h"

#include <set>

namespace kz8test {
namespace {

using kz8mrp::OleDate;

class SettingToolsTest : public DbTest {
 protected:
  kz8mrp::host::SettingTools tools_;

  bool Flag(const std::string& key, bool default_value) {
    return tools_.GetFlag(client_.Identity(), key, connection_string_, app_.Identity(),
                          default_value);
  }
  std::string Number(std::string_view kind, std::string_view book, OleDate date) {
    return tools_.NewDocumentNo2(kind, data_->Connection(), date, "HQ", book);
  }
};

TEST_P(SettingToolsTest, NumbersAndTexts) {
  Setting("MRPHourPerDay", "7.5");
  Setting("Blank", "");
  Setting("Words", "eight");
  Setting("MRPDEFAULTPRODUCTIONBOOK", "PD-01");
  kz8mrp::db::Connection& c = data_->Connection();
  EXPECT_EQ(tools_.GetNumber("MRPHourPerDay", c), 7.5);
  EXPECT_EQ(tools_.GetNumber("Absent", c), 0);
  EXPECT_EQ(tools_.GetNumber("Blank", c), 0);
  EXPECT_THROW(tools_.GetNumber("Words", c), kz8mrp::Error);
  EXPECT_EQ(tools_.GetText("MRPDEFAULTPRODUCTIONBOOK", c), "PD-01");
  EXPECT_EQ(tools_.GetText("Absent", c), "");
  EXPECT_EQ(tools_.GetNumberStr("MRPHourPerDay", connection_string_), 7.5);
}

// The "...Str" reads go through a connection of their own: committed values only.
TEST_P(SettingToolsTest, ConnectionStringReadsSeeCommittedValuesOnly) {
  Setting("MRPHourPerDay", "8");
  data_->BeginTrans();
  data_->ExecuteSQL("UPDATE KZ8TSetting SET TSetValue='6' WHERE TSetKey='MRPHourPerDay'");
  EXPECT_EQ(tools_.GetNumber("MRPHourPerDay", data_->Connection()), 6);
  EXPECT_EQ(tools_.GetNumberStr("MRPHourPerDay", connection_string_), 8);
  data_->CommitTrans();
  EXPECT_EQ(tools_.GetNumberStr("MRPHourPerDay", connection_string_), 6);
}

TEST_P(SettingToolsTest, FlagSpellingsAndDefault) {
  const std::pair<const char*, bool> spellings[] = {
      {"1", true},  {"True", true},   {"TRUE", true},   {"Y", true},  {"y", true}, {" True ", true},
      {"0", false}, {"False", false}, {"false", false}, {"N", false}, {"n", false}};
  for (const auto& [text, yes] : spellings) {
    Setting("Flag", text);
    EXPECT_EQ(Flag("Flag", !yes), yes) << text;
  }
  Setting("Flag", "perhaps");  // unreadable, or absent: the default
  EXPECT_TRUE(Flag("Flag", true));
  EXPECT_FALSE(Flag("Flag", false));
  EXPECT_TRUE(Flag("ACCOUNTIGNOREJOBCOMPLETED", true));
  EXPECT_FALSE(Flag("ACCOUNTIGNOREJOBCOMPLETED", false));
}

TEST_P(SettingToolsTest, NumbersAreUniquePerKindBookAndMonth) {
  const OleDate jan = OleDate::FromParts(2027, 1, 4);
  const OleDate jan_late = OleDate::FromParts(2027, 1, 31, 23, 59, 59);
  const OleDate feb = OleDate::FromParts(2027, 2, 1);
  std::set<std::string> issued;
  const auto draw = [&](std::string_view kind, std::string_view book, OleDate date) {
    std::string number = Number(kind, book, date);
    EXPECT_TRUE(issued.insert(number).second) << "issued twice: " << number;
    return number;
  };
  const std::string first = draw("JOB", "", jan);
  EXPECT_NE(draw("JOB", "", jan_late), first);
  draw("JOB", "", feb);  // a new month starts its own count
  draw("JOB", "B1", jan);
  draw("JOB", "B2", jan);
  draw("JOB", "B1", jan);
  draw("MPS", "", jan);
  // A book of "-" is shown as no book; it must still not repeat the numbers of no book.
  draw("JOB", "-", jan);
  draw("JOB", "-", jan);
  draw("JOB", "", jan);
  // Production and process orders share one table.
  for (int i = 0; i < 3; ++i) {
    draw("PRODUCTION", "PD", jan);
    draw("PRODUCTIONPROCESS", "PD", jan);
    draw("PD", "PD", jan);
    draw("pp", "PD", jan);
  }
  EXPECT_THROW(Number("", "", jan), kz8mrp::Error);
}

TEST_P(SettingToolsTest, ApprovalLogKeepsEveryRecord) {
  kz8mrp::host::ApprovalRecord r{.event = "MRPJOBCBUILTPD",
                                 .document_no = "PD-2701-00001",
                                 .remark = "Auto Approved.",
                                 .user_code = client_.UserCode(),
                                 .key_column = "TJPDNo",
                                 .prefix = "TJPD",
                                 .table = "KZ8TJobProduction",
                                 .when = data_->Now()};
  tools_.LogApproval(r, data_->Connection());
  r.event = "MRPJOBCBUILTPROCESS";
  r.remark = "it's done";
  tools_.LogApproval(r, data_->Connection());

  EXPECT_EQ(Scalar("SELECT COUNT(DISTINCT TAplId) FROM KZ8TApproveLog"), "2");
  EXPECT_EQ(Scalar("SELECT TAplMode || '|' || TAplDocNo || '|' || TAplRemark || '|' || "
                   "TAplUserCode || '|' || TAplKeyColumn || '|' || TAplPrefix || '|' || TAplTable "
                   "|| '|' || TAplDate FROM KZ8TApproveLog WHERE TAplEvent='MRPJOBCBUILTPD'"),
            "1|PD-2701-00001|Auto Approved.|PLN|TJPDNo|TJPD|KZ8TJobProduction|2027-01-04 09:00:00");
  EXPECT_EQ(Scalar("SELECT TAplRemark FROM KZ8TApproveLog WHERE TAplEvent='MRPJOBCBUILTPROCESS'"),
            "it's done");
}

KZ8_INSTANTIATE_DB_TEST(SettingToolsTest);

}  // namespace
}  // namespace kz8test
