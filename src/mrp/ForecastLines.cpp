#include "mrp/ForecastLines.h"

#include "host/Sql.h"
#include "host/db/Recordset.h"
#include "mrp/WorkGrid.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace kz8mrp::mrp {
namespace {

namespace col = material;

// The forecast header's key columns (TSFC...) as its material lines carry them
// (TSFMTSFC...). Only the names are renamed; a code that holds "TSFC" still
// finds its own lines.
std::string LineColumn(std::string header_column) {
  return header_column.replace(0, 4, "TSFMTSFC");
}

std::string Condition(const ForecastKey& k) {
  return " WHERE " + LineColumn("TSFCTBraCode") + "=" + sql::Text(k.branch) + " AND " +
         LineColumn("TSFCYear") + "=" + sql::Number(k.year) + " AND " + LineColumn("TSFCMonth") +
         "=" + sql::Number(k.month) + " AND " + LineColumn("TSFCDay") + "=" + sql::Number(k.day) +
         " AND " + LineColumn("TSFCTPdtCode") + "=" + sql::Text(k.product) + " AND " +
         LineColumn("TSFCTARNCode") + "=" + sql::Text(k.customer);
}

void WriteKey(db::Recordset& rs, const ForecastKey& k, std::size_t line) {
  rs.Set("TSFMTSFCTBraCode", k.branch);
  rs.Set("TSFMTSFCTARNCode", k.customer);
  rs.Set("TSFMTSFCTPdtCode", k.product);
  rs.Set("TSFMTSFCYear", k.year);
  rs.Set("TSFMTSFCMonth", k.month);
  rs.Set("TSFMTSFCDay", k.day);
  rs.Set("TSFMLn", static_cast<std::int64_t>(line));
}

void WriteLine(db::Recordset& rs, const ForecastKey& k, const WorkGrid& grid, std::size_t r,
               OleDate now) {
  WriteKey(rs, k, r);
  rs.Set("TSFMTSpdStep", 1);
  rs.Set("TSFMTSepCode", grid.CellText(r, col::kStepCode));
  rs.Set("TSFMType", grid.CellNumber(r, col::kHasBill));
  rs.Set("TSFMTPdtCode", grid.CellText(r, col::kMaterial));
  rs.Set("TSFMQuantity", grid.CellNumber(r, col::kQuantity[0]));
  rs.Set("TSFMTUntCode", grid.CellText(r, col::kUnit[0]));
  rs.Set("TSFMFlag1", 1);
  rs.Set("TSFMFlag3", now);
  rs.Update();
}

}  // namespace

// The forecast's stored lines are read once; each grid row with a material then
// overwrites its line or adds it.
void WriteForecastLines(db::Connection& connection, const ForecastKey& forecast,
                        const WorkGrid& grid, OleDate now) {
  const std::size_t rows = grid.RowCount();
  const auto stands = [&](std::size_t r) { return !grid.CellText(r, col::kMaterial).empty(); };
  db::Recordset rs(connection, "SELECT * FROM KZ8TSaleForecastMT" + Condition(forecast),
                   db::LockType::Optimistic);
  std::vector<bool> written(rows + 1, false);
  for (; !rs.Eof(); rs.MoveNext()) {
    const double line = rs.Field("TSFMLn").IsNull() ? 0 : rs.Field("TSFMLn").AsNumber();
    if (line < 1 || line > static_cast<double>(rows) || line != std::floor(line)) continue;
    const auto r = static_cast<std::size_t>(line);
    if (!stands(r)) continue;
    WriteLine(rs, forecast, grid, r, now);
    written[r] = true;
  }
  for (std::size_t r = 1; r <= rows; ++r) {
    if (written[r] || !stands(r)) continue;
    rs.AddNew();
    WriteLine(rs, forecast, grid, r, now);
  }
}

}  // namespace kz8mrp::mrp
