// The semi-finished explosion of a quantity of a product: level by level
// through the bills of materials into the material grid, without storing
// anything.
#pragma once

#include "mrp/BillReader.h"
#include "mrp/WorkGrid.h"

#include <cstddef>
#include <string>

namespace kz8mrp {
class AppObj;
class DataObj;
namespace host {
class ConvertTools;
}
}  // namespace kz8mrp

namespace kz8mrp::mrp {

// An explosion fills at most this many material rows. A bill whose lines
// multiply level by level (two products each holding the other twice) would
// otherwise reach billions of rows by the last level; it stops with an error
// instead, before anything is stored.
inline constexpr std::size_t kMaxExplosionRows = 50000;
// Rows of the first level are exploded down to this level at most.
inline constexpr int kLastExplosionLevel = 31;

// The two work grids, defined materials first, then steps.
struct WorkGrids {
  explicit WorkGrids(const AppObj& app)
      : materials(MaterialGridLayout(), app), steps(StepGridLayout(), app) {}
  WorkGrid materials;
  WorkGrid steps;
};

struct ExplosionServices {
  const host::ConvertTools& convert;
  const host::DbTools& db;
  const host::SettingTools& settings;
};

class Explosion {
 public:
  Explosion(DataObj& data, ExplosionServices services, std::size_t max_rows = kMaxExplosionRows);

  // The first level of `product` for `quantity` of it; then, unless
  // `one_level_only`, every row marked for explosion and not held back by its
  // row flag, level by level.
  void Run(WorkGrid& grid, const std::string& product, double quantity, bool one_level_only);

  // One level of `product`'s bill, made for `quantity` of it, appended to the grid.
  void ExplodeBOMLevel(WorkGrid& grid, const std::string& product, int level, double quantity);

 private:
  std::size_t NextRow(WorkGrid& grid, int level);
  void WriteSelfRow(WorkGrid& grid, const std::string& product, const SelfRow& self, int level,
                    double quantity);
  void WriteLine(WorkGrid& grid, const std::string& product, const ProductBill& bill,
                 const BillLine& line, int level, double quantity);
  double BatchOutput(const ProductBill& bill);

  ExplosionServices services_;
  BillReader reader_;
  std::size_t max_rows_;
  std::string exploded_;  // the product the whole explosion is for
};

}  // namespace kz8mrp::mrp
