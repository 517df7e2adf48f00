#include "mrp/Explosion.h"

#include <kz8mrp/Error.h>
#include <kz8mrp/Session.h>

#include "host/services/ConvertTools.h"

#include <exception>

namespace kz8mrp::mrp {
namespace {

namespace col = material;

// A value that cannot be converted leaves its cell empty; the line still stands.
template <class Make>
void Put(WorkGrid& grid, std::size_t row, int column, Make&& make) {
  try {
    grid.SetCell(row, column, make());
  } catch (const std::exception&) {
  }
}

// The parent's routing step that uses the line; "" when the routing has none.
std::string StepCode(const ProductBill& bill, const BillLine& line,
                     const host::ConvertTools& convert) {
  try {
    if (line.step.IsNull()) return {};
    const auto it = bill.step_codes.find(convert.ToDouble(line.step.AsText()));
    return it == bill.step_codes.end() ? std::string() : it->second;
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace

Explosion::Explosion(DataObj& data, ExplosionServices services, std::size_t max_rows)
    : services_(services),
      reader_(data.ConnectionString(), services.db, services.settings),
      max_rows_(max_rows) {}

void Explosion::Run(WorkGrid& grid, const std::string& product, double quantity,
                    bool one_level_only) {
  exploded_ = product;
  ExplodeBOMLevel(grid, product, 1, quantity);
  if (one_level_only) return;
  // Rows added while a level is walked belong to the next level.
  for (int level = 1; level < kLastExplosionLevel; ++level) {
    const std::size_t rows = grid.RowCount();
    for (std::size_t r = 1; r <= rows; ++r) {
      if (grid.RowFlag(r) || grid.CellNumber(r, col::kLevel) != level ||
          grid.CellNumber(r, col::kExplodeFurther) != 1) {
        continue;
      }
      ExplodeBOMLevel(grid, grid.CellText(r, col::kMaterial), level + 1,
                      grid.CellNumber(r, col::kToOrder[0]));
    }
  }
}

void Explosion::ExplodeBOMLevel(WorkGrid& grid, const std::string& product, int level,
                                double quantity) {
  if (exploded_.empty()) exploded_ = product;
  const ProductBill& bill = reader_.Bill(product);
  for (const SelfRow& self : bill.self_rows) WriteSelfRow(grid, product, self, level, quantity);
  for (const BillLine& line : bill.lines) WriteLine(grid, product, bill, line, level, quantity);
}

// A grid that ends with a row without material has that row filled again.
std::size_t Explosion::NextRow(WorkGrid& grid, int level) {
  const std::size_t rows = grid.RowCount();
  if (rows > 0 && grid.CellText(rows, col::kMaterial).empty()) return rows;
  if (rows >= max_rows_) {
    throw Error(errc::kOutOfMemory, "the explosion of " + exploded_ + " passes " +
                                        std::to_string(max_rows_) + " material rows at level " +
                                        std::to_string(level) +
                                        "; its bills of materials multiply without end");
  }
  grid.AddRow();
  return rows + 1;
}

void Explosion::WriteSelfRow(WorkGrid& grid, const std::string& product, const SelfRow& self,
                             int level, double quantity) {
  const std::size_t r = NextRow(grid, level);
  grid.SetCell(r, col::kOutput, product);
  grid.SetCell(r, col::kSpare, "");
  grid.SetCell(r, col::kFromStep, 0);
  grid.SetCell(r, col::kStep, 0);
  grid.SetCell(r, col::kLevel, level);
  grid.SetCell(r, col::kMaterial, self.code);
  for (int c :
       {col::kMatType, col::kNumber, col::kAlternative, col::kExplodeFurther, col::kHasBill}) {
    grid.SetCell(r, c, 0);
  }
  const ProductBill& bill = reader_.Bill(product);
  grid.SetCell(r, col::kStepCode, bill.first_step_code);
  grid.SetCell(r, col::kStepName, reader_.StepName(bill.first_step_code));
  grid.SetCell(r, col::kMaterialName, self.name);
  grid.SetCell(r, col::kQuantity[0], quantity);
  grid.SetCell(r, col::kToOrder[0], quantity);
  for (std::size_t u = 0; u < 3; ++u) grid.SetCell(r, col::kUnit[u], self.units[u]);
}

void Explosion::WriteLine(WorkGrid& grid, const std::string& product, const ProductBill& bill,
                          const BillLine& line, int level, double quantity) {
  const host::ConvertTools& convert = services_.convert;
  const std::size_t r = NextRow(grid, level);
  grid.SetCell(r, col::kOutput, product);
  grid.SetCell(r, col::kSpare, "");
  grid.SetCell(r, col::kFromStep, 0);
  Put(grid, r, col::kStep, [&] { return line.step; });
  grid.SetCell(r, col::kLevel, level);
  grid.SetCell(r, col::kMaterial, line.material.AsText());
  const std::pair<int, const db::Value*> whole[] = {{col::kMatType, &line.mat_type},
                                                    {col::kNumber, &line.number},
                                                    {col::kAlternative, &line.alternative},
                                                    {col::kExplodeFurther, &line.auto_explode}};
  for (const auto& [column, value_of_column] : whole) {
    // A lambda may not capture a structured binding under every compiler we build with.
    const db::Value* value = value_of_column;
    Put(grid, r, column, [&] { return convert.ToInteger(value->AsText()); });
  }
  grid.SetCell(r, col::kHasBill, line.material_has_bill ? 1 : 0);

  const std::string step_code = StepCode(bill, line, convert);
  grid.SetCell(r, col::kStepCode, step_code);
  grid.SetCell(r, col::kStepName, reader_.StepName(step_code));
  grid.SetCell(r, col::kMaterialName, line.material_name.AsText());

  const double batch = BatchOutput(bill);
  for (std::size_t u = 0; u < 3; ++u) {
    Put(grid, r, col::kQuantity[u], [&] {
      const double line_scrap = convert.ToDouble(line.scrap_percent.AsText());
      return convert.ToDouble(line.quantities[u].AsText()) / batch * quantity *
             (100 + bill.scrap_percent) / 100 * (100 + line_scrap) / 100;
    });
    grid.SetCell(r, col::kToOrder[u], grid.CellNumber(r, col::kQuantity[u]));
    grid.SetCell(r, col::kUnit[u], line.units[u].AsText());
  }
  grid.SetCell(r, col::kRemark, line.remark.AsText());
}

// Bill quantities are per batch: the product's own output, else the plant's
// default output quantity, else one.
double Explosion::BatchOutput(const ProductBill& bill) {
  double batch = bill.batch_output;
  if (batch == 0) batch = reader_.DefaultOutputQuantity();
  return batch == 0 ? 1 : batch;
}

}  // namespace kz8mrp::mrp
