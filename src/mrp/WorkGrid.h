// An in-memory table with typed columns addressed by column number and rows
// numbered from 1: the working sheet an explosion fills before anything is
// stored. Columns without a layout (working flags the explosion keeps) take
// what they are given.
#pragma once

#include "host/db/Value.h"
#include "mrp/GridLayouts.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kz8mrp {
class AppObj;
}

namespace kz8mrp::mrp {

// A column as the grid holds it: its layout, with the decimals settled.
struct GridColumn {
  ColumnLayout layout;
  int decimals = 0;
};

class WorkGrid {
 public:
  // The columns in the layout's order; quantity decimals come from `app` now.
  WorkGrid(std::span<const ColumnLayout> layout, const AppObj& app);

  const std::vector<GridColumn>& Columns() const { return columns_; }
  std::size_t RowCount() const { return rows_.size(); }
  void AddRow();

  // A number column keeps numbers (a text is read as one, blank as empty), a
  // text column texts, a date column dates.
  void SetCell(std::size_t row, int column, db::Value value);
  // Empty reads as 0 and as "".
  double CellNumber(std::size_t row, int column) const;
  std::string CellText(std::size_t row, int column) const;
  const db::Value& Cell(std::size_t row, int column) const;

  // A row the planner holds back from further explosion.
  bool RowFlag(std::size_t row) const { return Row(row).flag; }
  void SetRowFlag(std::size_t row, bool flag) { Row(row).flag = flag; }

 private:
  struct GridRow {
    std::vector<db::Value> cells;  // by slot
    bool flag = false;
  };
  GridRow& Row(std::size_t row);
  const GridRow& Row(std::size_t row) const;
  std::size_t Slot(int column);
  int SlotOf(int column) const;
  const ColumnLayout* Layout(int column) const;

  std::vector<GridColumn> columns_;
  std::vector<int> slot_of_;    // column number -> slot, -1 when nothing was written there
  std::vector<int> layout_of_;  // column number -> place in columns_, -1 without a layout
  std::size_t slots_ = 0;
  std::vector<GridRow> rows_;
};

}  // namespace kz8mrp::mrp
