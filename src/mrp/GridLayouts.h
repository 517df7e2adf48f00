// The column layouts of the explosion's two work grids: the material lines a
// forecast explodes into, and the production-order steps. The explosion reads
// and writes cells by these column numbers.
#pragma once

#include <span>
#include <string_view>

namespace kz8mrp::mrp {

enum class ColumnKind { Number, Text, Check, YesNo, DateTime, LabelList };

// Decimals of a quantity column: the application's quantity decimals, asked
// when the grid is loaded.
inline constexpr int kQuantityDecimals = -1;
// Width of a column the layout leaves to the grid (shown at its natural width).
inline constexpr int kNaturalWidth = -1;

struct ColumnLayout {
  int number;
  std::string_view field;  // empty: a working column with no stored field
  ColumnKind kind;
  std::string_view caption;
  int decimals;             // or kQuantityDecimals
  int length;               // text length, 0 when not limited
  int width;                // in twips; 0 hides the column
  std::string_view labels;  // a list column's labels, comma-separated
  std::string_view format;  // a display format name, or empty
};

// Material grid columns the explosion fills and the forecast lines are made of.
namespace material {
inline constexpr int kFromStep = 1;  // working column, no field
inline constexpr int kLevel = 2;
inline constexpr int kStep = 3;
inline constexpr int kOutput = 6;
inline constexpr int kStepCode = 7;
inline constexpr int kStepName = 8;
inline constexpr int kMaterial = 9;
inline constexpr int kMaterialName = 10;
inline constexpr int kHasBill = 14;
inline constexpr int kNumber = 15;
inline constexpr int kAlternative = 16;
inline constexpr int kMatType = 17;
inline constexpr int kExplodeFurther = 18;  // working column, no field
inline constexpr int kQuantity[] = {21, 31, 41};
inline constexpr int kToOrder[] = {24, 34, 44};
inline constexpr int kUnit[] = {26, 36, 46};
inline constexpr int kRemark = 51;
inline constexpr int kSpare = 61;  // working column, no field
}  // namespace material

// In definition order.
std::span<const ColumnLayout> MaterialGridLayout();
std::span<const ColumnLayout> StepGridLayout();

}  // namespace kz8mrp::mrp
