#include "mrp/WorkGrid.h"

#include <kz8mrp/Error.h>
#include <kz8mrp/Session.h>

#include "common/Text.h"

#include <utility>

namespace kz8mrp::mrp {
namespace {

// Column numbers run from 1 to this; the layouts stay well below it.
constexpr int kMaxColumn = 99;

db::Value AsNumberCell(const db::Value& value) {
  if (value.kind() != db::Value::Kind::Text) return value;
  if (text::Trim(value.text()).empty()) return {};
  double number = 0;
  if (!text::ParseNumber(value.text(), number)) {
    throw Error(errc::kTypeMismatch, "Type mismatch: '" + value.text() + "' is no number");
  }
  return number;
}

db::Value Typed(const ColumnLayout* layout, db::Value value) {
  if (!layout || value.IsNull()) return value;
  switch (layout->kind) {
    case ColumnKind::Text:
      return value.kind() == db::Value::Kind::Text ? value : db::Value(value.AsText());
    case ColumnKind::DateTime:
      return value.kind() == db::Value::Kind::Date ? value : db::Value(value.AsDate());
    default:
      return AsNumberCell(value);
  }
}

}  // namespace

WorkGrid::WorkGrid(std::span<const ColumnLayout> layout, const AppObj& app)
    : slot_of_(kMaxColumn + 1, -1), layout_of_(kMaxColumn + 1, -1) {
  for (const ColumnLayout& c : layout) {
    const int decimals = c.decimals == kQuantityDecimals ? app.QuantityDecimals() : c.decimals;
    Slot(c.number);
    layout_of_[static_cast<std::size_t>(c.number)] = static_cast<int>(columns_.size());
    columns_.push_back({c, decimals});
  }
}

void WorkGrid::AddRow() {
  rows_.emplace_back();
  rows_.back().cells.resize(slots_);
}

WorkGrid::GridRow& WorkGrid::Row(std::size_t row) {
  return const_cast<GridRow&>(std::as_const(*this).Row(row));
}

const WorkGrid::GridRow& WorkGrid::Row(std::size_t row) const {
  if (row < 1 || row > rows_.size()) {
    throw Error(errc::kInvalidArgument, "row " + std::to_string(row) + " is not in the grid of " +
                                            std::to_string(rows_.size()) + " rows");
  }
  return rows_[row - 1];
}

int WorkGrid::SlotOf(int column) const {
  if (column < 1 || column > kMaxColumn) {
    throw Error(errc::kInvalidArgument, "column " + std::to_string(column) + " is not in the grid");
  }
  return slot_of_[static_cast<std::size_t>(column)];
}

// A column written for the first time gets a slot in every row.
std::size_t WorkGrid::Slot(int column) {
  int slot = SlotOf(column);
  if (slot < 0) {
    slot = static_cast<int>(slots_++);
    slot_of_[static_cast<std::size_t>(column)] = slot;
    for (GridRow& row : rows_) row.cells.emplace_back();
  }
  return static_cast<std::size_t>(slot);
}

const ColumnLayout* WorkGrid::Layout(int column) const {
  SlotOf(column);  // refuses a column beyond the grid
  const int at = layout_of_[static_cast<std::size_t>(column)];
  return at < 0 ? nullptr : &columns_[static_cast<std::size_t>(at)].layout;
}

void WorkGrid::SetCell(std::size_t row, int column, db::Value value) {
  GridRow& target = Row(row);
  target.cells[Slot(column)] = Typed(Layout(column), std::move(value));
}

const db::Value& WorkGrid::Cell(std::size_t row, int column) const {
  static const db::Value kEmpty;
  const GridRow& source = Row(row);
  const int slot = SlotOf(column);
  return slot < 0 ? kEmpty : source.cells[static_cast<std::size_t>(slot)];
}

double WorkGrid::CellNumber(std::size_t row, int column) const {
  const db::Value number = AsNumberCell(Cell(row, column));
  return number.IsNull() ? 0 : number.AsNumber();
}

std::string WorkGrid::CellText(std::size_t row, int column) const {
  return Cell(row, column).AsText();
}

}  // namespace kz8mrp::mrp
