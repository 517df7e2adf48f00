#include "host/schema/Schema.h"
#include "support/TestDb.h"

namespace kz8test {
namespace {

class SchemaTest : public DbTest {};

TEST_P(SchemaTest, InstallingAgainKeepsEveryRow) {
  Insert("KZ8TSection", {{"TSecCode", "CUT"}, {"TSecHOffice", 8}});
  kz8mrp::schema::Install(fixture_connection());
  EXPECT_EQ(Scalar("SELECT TSecHOffice FROM KZ8TSection WHERE TSecCode='CUT'"), "8");
}

KZ8_INSTANTIATE_DB_TEST(SchemaTest);

}  // namespace
}  // namespace kz8test
