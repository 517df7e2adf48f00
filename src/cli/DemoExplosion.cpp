// The demonstration's sales forecast: twenty oak dining tables in February,
// exploded through two levels of bills of materials (the table, then its top
// and legs) into the forecast's material lines.
#include <kz8mrp/MRPObject.h>

#include "cli/Commands.h"
#include "common/Text.h"
#include "host/db/Rows.h"

#include <cmath>
#include <cstdio>
#include <iostream>
#include <tuple>

namespace kz8mrp::cli {
namespace {

using db::Value;

constexpr const char* kTable = "TBL-OAK";

void LoadParts(db::Connection& c) {
  const std::pair<const char*, const char*> parts[] = {
      {"TOP-OAK", "หน้าโต๊ะไม้โอ๊ค"},  // table top, made here
      {"LEG-OAK", "ขาโต๊ะไม้โอ๊ค"},   // table leg, made here
      {"OAK-BOARD", "Oak board 25 mm"}, {"OAK-SQUARE", "Oak square 60 mm"},
      {"SCREW-6", "Screw 6 mm"},        {"LACQUER", "Clear lacquer"}};
  for (const auto& [code, name] : parts) {
    db::WriteRow(c, "KZ8TProduct",
                 {{"TPdtCode", code},
                  {"TPdtName", name},
                  {"TPdtTUntCode", code == std::string("LACQUER") ? "L" : "PCS"},
                  {"TPdtUnit2Ratio", 1},
                  {"TPdtUnit3Ratio", 1}});
  }
  // The table plans 2% scrap on everything it uses; legs come four from a run.
  db::WriteRow(c, "KZ8TProduct2",
               {{"TPd2TPdtCode", kTable}, {"TPd2TotalQuantity", 1}, {"TPd2ScrapPCMRP", 2}});
  db::WriteRow(c, "KZ8TProduct2", {{"TPd2TPdtCode", "LEG-OAK"}, {"TPd2TotalQuantity", 4}});
}

void LoadRoutings(db::Connection& c) {
  const std::tuple<const char*, int, const char*> steps[] = {
      {kTable, 1, "GLUE"}, {kTable, 2, "COAT"}, {"TOP-OAK", 1, "SAW"}, {"LEG-OAK", 1, "SAW"}};
  for (const auto& [product, step, code] : steps) {
    db::WriteRow(c, "KZ8TProductMethod",
                 {{"TSpdTPdtCode", product}, {"TSpdStep", step}, {"TSpdTSepCode", code}});
  }
}

void LoadBills(db::Connection& c) {
  struct Line {
    const char* parent;
    int ln, step;
    const char* material;
    double quantity;
    int explode;
    double scrap;
  };
  const Line lines[] = {
      {kTable, 1, 1, "TOP-OAK", 1, 1, 0},       {kTable, 2, 1, "LEG-OAK", 4, 1, 0},
      {kTable, 3, 1, "SCREW-6", 16, 0, 0},      {kTable, 4, 2, "LACQUER", 0.5, 0, 0},
      {"TOP-OAK", 1, 1, "OAK-BOARD", 3, 0, 10}, {"LEG-OAK", 1, 1, "OAK-SQUARE", 1, 0, 5}};
  for (const Line& l : lines) {
    db::WriteRow(c, "KZ8TProductMat",
                 {{"TPMtTPdtCode", l.parent},
                  {"TPmtLn", l.ln},
                  {"TPMtTSpdStep", l.step},
                  {"TPmtNo", l.ln},
                  {"TPmtAlternative", 0},
                  {"TPMtProductCode", l.material},
                  {"TPMtMatType", 0},
                  {"TPMtAutoExplore", l.explode},
                  {"TPMtQuantity", l.quantity},
                  {"TPmtScrapPCMRP", l.scrap}});
  }
}

}  // namespace

void LoadDemoExplosion(db::Connection& connection) {
  LoadParts(connection);
  LoadRoutings(connection);
  LoadBills(connection);
}

void ShowForecastExplosion(MRPObject& engine, DataObj& data) {
  engine.GenerateSF2(data, kTable, "AR-017", 2027, 2, 1, 20);
  std::cout << "\nThe forecast of 20 " << kTable << " for AR-017 on 2027-02-01, exploded through\n"
            << "two levels of bills of materials (GenerateSF2): top and legs are made here\n"
            << "and exploded further; quantities carry the batch output and both scraps\n"
            << "  line  step   material      quantity  unit\n";
  const db::ResultSet lines = data.Connection().Query(
      "SELECT TSFMLn, TSFMTSepCode, TSFMTPdtCode, TSFMQuantity, TSFMTUntCode "
      "FROM KZ8TSaleForecastMT WHERE TSFMTSFCTPdtCode='TBL-OAK' AND TSFMTSFCYear=2027 AND "
      "TSFMTSFCMonth=2 AND TSFMTSFCDay=1 ORDER BY TSFMLn");
  for (const auto& l : lines.rows) {
    std::printf("  %4s  %-5s  %-12s %9s  %s\n", l[0].AsText().c_str(), l[1].AsText().c_str(),
                l[2].AsText().c_str(),
                text::NumberText(std::round(l[3].AsNumber() * 1000) / 1000).c_str(),
                l[4].AsText().c_str());
  }
}

}  // namespace kz8mrp::cli
