#include <kz8mrp/Error.h>

#include "host/services/SettingTools.h"
#include "support/TestDb.h"

#include <set>
#include <thread>

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
  int n = 0;
  for (const char* yes : {"1", "True", "TRUE", "true", "Y", "y", " True "}) {
    const std::string key = "Yes" + std::to_string(++n);
    Setting(key, yes);
    EXPECT_TRUE(Flag(key, false)) << yes;
  }
  for (const char* no : {"0", "False", "false", "N", "n"}) {
    const std::string key = "No" + std::to_string(++n);
    Setting(key, no);
    EXPECT_FALSE(Flag(key, true)) << no;
  }
  EXPECT_TRUE(Flag("ACCOUNTIGNOREJOBCOMPLETED", true));
  EXPECT_FALSE(Flag("ACCOUNTIGNOREJOBCOMPLETED", false));
  Setting("Maybe", "perhaps");
  EXPECT_TRUE(Flag("Maybe", true));
  EXPECT_FALSE(Flag("Maybe", false));
}

TEST_P(SettingToolsTest, NumbersAreUniquePerKindBookAndMonth) {
  const OleDate jan = OleDate::FromParts(2027, 1, 4);
  const OleDate jan_late = OleDate::FromParts(2027, 1, 31, 23, 59, 59);
  const OleDate feb = OleDate::FromParts(2027, 2, 1);
  std::set<std::string> issued;
  const auto draw = [&](std::string_view kind, std::string_view book, OleDate date) {
    const std::string number = Number(kind, book, date);
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

// Numbers drawn in a transaction that is rolled back are drawn again; two
// sessions drawing at the same time never get the same number.
TEST_P(SettingToolsTest, ConcurrentSessionsNeverShareANumber) {
  const OleDate jan = OleDate::FromParts(2027, 1, 4);
  data_->BeginTrans();
  const std::string dropped = Number("MPS", "", jan);
  data_->RollbackTrans();
  EXPECT_EQ(Number("MPS", "", jan), dropped);

  constexpr int kPerSession = 15;
  std::vector<std::string> numbers[2];
  const auto session = [&](std::vector<std::string>& out) {
    auto connection = kz8mrp::db::Connection::Open(connection_string_);
    for (int i = 0; i < kPerSession; ++i) {
      kz8mrp::db::Transaction tx(*connection);
      out.push_back(tools_.NewDocumentNo("MPS", *connection, jan, "HQ", ""));
      tx.Commit();
    }
  };
  std::thread a(session, std::ref(numbers[0]));
  std::thread b(session, std::ref(numbers[1]));
  a.join();
  b.join();
  std::set<std::string> all(numbers[0].begin(), numbers[0].end());
  all.insert(numbers[1].begin(), numbers[1].end());
  all.insert(dropped);
  EXPECT_EQ(all.size(), 2u * kPerSession + 1);
}

TEST_P(SettingToolsTest, ApprovalLogKeepsEveryRecord) {
  kz8mrp::host::ApprovalRecord r;
  r.event = "MRPJOBCBUILTPD";
  r.document_no = "PD-2701-00001";
  r.remark = "Auto Approved.";
  r.user_code = client_.UserCode();
  r.key_column = "TJPDNo";
  r.prefix = "TJPD";
  r.table = "KZ8TJobProduction";
  r.when = data_->Now();
  tools_.LogApproval(r, data_->Connection());
  r.event = "MRPJOBCBUILTPROCESS";
  r.remark = "it's done";
  tools_.LogApproval(r, data_->Connection());

  const auto rs = Query(
      "SELECT TAplId, TAplMode, TAplEvent, TAplDocNo, TAplRemark, TAplUserCode, TAplKeyColumn, "
      "TAplPrefix, TAplTable, TAplDate FROM KZ8TApproveLog ORDER BY TAplId");
  ASSERT_EQ(rs.rows.size(), 2u);
  EXPECT_NE(rs.rows[0][0].AsText(), rs.rows[1][0].AsText());
  std::vector<std::string> first;
  for (const auto& v : rs.rows[0]) first.push_back(v.AsText());
  EXPECT_EQ(
      std::vector<std::string>(first.begin() + 1, first.end()),
      (std::vector<std::string>{"1", "MRPJOBCBUILTPD", "PD-2701-00001", "Auto Approved.", "PLN",
                                "TJPDNo", "TJPD", "KZ8TJobProduction", "2027-01-04 09:00:00"}));
  EXPECT_EQ(rs.rows[1][4].AsText(), "it's done");
}

KZ8_INSTANTIATE_DB_TEST(SettingToolsTest);

}  // namespace
}  // namespace kz8test
