#include "host/services/InventoryTools.h"
#include "support/TestDb.h"

namespace kz8test {
namespace {

using kz8mrp::OleDate;
using kz8mrp::db::Value;

class InventoryToolsTest : public DbTest {
 protected:
  kz8mrp::host::InventoryTools tools_;
  const OleDate day_ = OleDate::FromParts(2027, 1, 4);

  // A stock document of the day, with lines of P1 as (kind, quantity).
  void Document(const std::string& no, int approved, Value cancelled,
                const std::vector<std::pair<std::string, double>>& lines) {
    InsertRows("KZ8TInventory", {"TInvNo", "TInvDate", "TinvApproveStatus", "TinvCancelStatus"},
               {{no, day_, approved, std::move(cancelled)}});
    int ln = 0;
    for (const auto& [kind, quantity] : lines) {
      Insert("KZ8TInventoryMB", {{"TIvbTInvNo", no},
                                 {"TIvbLn", ++ln},
                                 {"TIvbTPdtCode", "P1"},
                                 {"TIvbStockKind", kind},
                                 {"TIvbQuantity", quantity}});
    }
  }
  void Post(const std::string& no) { tools_.Post(no, true, *data_, app_, client_); }
  double Balance(OleDate d, const char* kind) { return tools_.Balance(*data_, "P1", d, kind); }
};

TEST_P(InventoryToolsTest, PostingWritesOnlyApprovedUncancelledDocuments) {
  Document("U", 0, 0, {{"FG", 1}});
  Document("C", 1, 1, {{"FG", 2}});
  Document("N", 1, Value::Null(), {{"FG", 4}});  // cancel status never set
  Document("A", 1, 0, {{"FG", 8}, {"RM", 16}});
  for (const char* no : {"U", "C", "N", "A"}) Post(no);
  EXPECT_EQ(Balance(day_, "FG"), 12);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TStockCard"), "3");
  EXPECT_EQ(Scalar("SELECT TStcDate || '' FROM KZ8TStockCard WHERE TStcTInvNo='A' AND TStcLn=2"),
            "2027-01-04 00:00:00");

  // Re-posting replaces the document's rows: a changed line, then a cancellation.
  Exec("UPDATE KZ8TInventoryMB SET TIvbQuantity=9 WHERE TIvbTInvNo='A' AND TIvbLn=1");
  Post("A");
  EXPECT_EQ(Balance(day_, "FG"), 13);
  EXPECT_EQ(Balance(day_, "RM"), 16);
  Exec("UPDATE KZ8TInventory SET TinvCancelStatus=1 WHERE TInvNo='A'");
  Post("A");
  EXPECT_EQ(Balance(day_, "FG"), 4);
  EXPECT_EQ(Balance(day_, "RM"), 0);
  Post("NoSuchDocument");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM KZ8TStockCard"), "1");
}

KZ8_INSTANTIATE_DB_TEST(InventoryToolsTest);

}  // namespace
}  // namespace kz8test
