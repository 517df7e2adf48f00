// What exploding a sales forecast costs: GenerateSF2 for a product with five
// levels of bills of materials, every line of levels 1 to 3 marked for
// explosion, at 5 and at 10 lines per bill (780 and 11,110 material lines),
// through the engine and against its floor, the same statements sent straight
// through the database's own client library. Every product below the forecast's
// is a product of its own; the fifth level's raw materials are shared. After
// the first call, each call overwrites the forecast's lines in place.
//
// SQLite always; PostgreSQL too when KZ8MRP_BENCH_PG holds a connection string.
#include <kz8mrp/MRPObject.h>

#include "host/Sql.h"
#include "host/db/Connection.h"
#include "host/schema/Schema.h"
#include "support/EngineVsFloor.h"
#include "support/RowWriter.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using kz8mrp::OleDate;
namespace sql = kz8mrp::sql;

constexpr int kLevels = 5;
constexpr int kExplodedLevels = 3;
const OleDate kToday = OleDate::FromParts(2027, 1, 4);

using kz8bench::RowWriter;

struct Bills {
  RowWriter products;
  RowWriter routing;
  RowWriter lines;
};

// `parent`'s bill at `level` (1 for the forecast's product), and below it.
void Bill(Bills& b, const std::string& parent, int level, int width) {
  const std::string p = sql::Text(parent);
  b.products.Add(p + ",'PCS','BOX','PAL'");
  b.routing.Add(p + ",1,'S1'");
  b.routing.Add(p + ",2,'S2'");
  for (int ln = 1; ln <= width; ++ln) {
    const std::string material =
        level == kLevels ? "RAW" + std::to_string(ln) : parent + "." + std::to_string(ln);
    b.lines.Add(p + "," + sql::Number(ln) + "," + sql::Number(1 + ln % 2) + "," + sql::Number(ln) +
                ",0," + sql::Text(material) + ",0," + (level <= kExplodedLevels ? "1" : "0") +
                ",2,4,6,5");
    if (level < kLevels) Bill(b, material, level + 1, width);
  }
}

void LoadPlant(const std::string& connection_string) {
  auto c = kz8mrp::db::Connection::Open(connection_string, kz8mrp::db::OpenMode::Create);
  kz8mrp::schema::Install(*c);
  kz8mrp::db::Transaction tx(*c);
  for (const char* table : {"KZ8TProduct", "KZ8TProductMethod", "KZ8TProductMat", "KZ8TMRPStepName",
                            "KZ8TSaleForecastMT", "KZ8TSetting"}) {
    c->Execute(std::string("DELETE FROM ") + table);
  }
  c->Execute("INSERT INTO KZ8TMRPStepName (TSepCode, TSepName) VALUES ('S1','Cut'),('S2','Glue')");
  {
    Bills b{{*c, "INSERT INTO KZ8TProduct (TPdtCode, TPdtTUntCode, TPdtTUntCode2, TPdtTUntCode3)"},
            {*c, "INSERT INTO KZ8TProductMethod (TSpdTPdtCode, TSpdStep, TSpdTSepCode)"},
            {*c,
             "INSERT INTO KZ8TProductMat (TPMtTPdtCode, TPmtLn, TPMtTSpdStep, TPmtNo, "
             "TPmtAlternative, TPMtProductCode, TPMtMatType, TPMtAutoExplore, TPMtQuantity, "
             "TPMtQuantity2, TPMtQuantity3, TPmtScrapPCMRP)"}};
    for (const int width : {5, 10}) Bill(b, "F" + std::to_string(width), 1, width);
  }
  tx.Commit();
}

std::vector<kz8bench::Work> Calls() {
  std::vector<kz8bench::Work> work;
  for (const int width : {5, 10}) {
    const std::string product = "F" + std::to_string(width);
    work.push_back({"forecast explosion, 5 levels, " + std::to_string(width) + " lines per bill",
                    [product](kz8bench::Session& s) {
                      if (s.engine.GenerateSF2(s.data, product, "AR", 2027, 2, 1, 100) != 1) {
                        throw std::runtime_error("no explosion");
                      }
                    }});
  }
  return work;
}

}  // namespace

int main(int argc, char** argv) {
  return kz8bench::Run(argc, argv, {LoadPlant, Calls(), kToday.AddHours(8)});
}
