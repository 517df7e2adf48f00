// `kz8mrp explode`: the material grid of a product's semi-finished explosion,
// printed as a table, with nothing stored.
#include <kz8mrp/Session.h>

#include <CLI/CLI.hpp>

#include "cli/Commands.h"
#include "cli/PickTable.h"
#include "common/Text.h"
#include "host/services/ConvertTools.h"
#include "host/services/DbTools.h"
#include "host/services/SettingTools.h"
#include "mrp/Explosion.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <memory>

namespace kz8mrp::cli {
namespace {

struct ExplodeOptions {
  std::string db;
  std::string product;
  double quantity = 0;
  bool one_level = false;
};

std::string Fixed(double number, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, number);
  return buffer;
}

// A cell as the grid shows it: numbers to the column's decimals, a list
// column's number as its label.
std::string Shown(const mrp::WorkGrid& grid, std::size_t row, const mrp::GridColumn& column) {
  const db::Value& cell = grid.Cell(row, column.layout.number);
  if (cell.IsNull() || cell.kind() != db::Value::Kind::Number) return cell.AsText();
  const double n = cell.number();
  if (column.layout.kind == mrp::ColumnKind::LabelList) {
    const std::vector<std::string> labels = text::Split(column.layout.labels, ',');
    if (n >= 0 && n < static_cast<double>(labels.size()) && n == static_cast<int>(n)) {
      return labels[static_cast<std::size_t>(n)];
    }
  }
  return Fixed(n, std::max(column.decimals, 0));
}

PickList AsTable(const mrp::WorkGrid& grid, std::string title) {
  PickList table;
  table.title = std::move(title);
  for (const mrp::GridColumn& c : grid.Columns()) {
    table.captions.emplace_back(c.layout.caption);
    table.columns.emplace_back(c.layout.field);
    table.widths.push_back(c.layout.width == mrp::kNaturalWidth ? 1000 : c.layout.width);
  }
  for (std::size_t r = 1; r <= grid.RowCount(); ++r) {
    std::vector<std::string>& cells = table.rows.emplace_back();
    for (const mrp::GridColumn& c : grid.Columns()) cells.push_back(Shown(grid, r, c));
  }
  return table;
}

void ShowExplosion(const ExplodeOptions& o) {
  AppObj app;
  ClientObj client;
  DataObj data(o.db, app, client);
  const host::ConvertTools convert;
  const host::DbTools db;
  const host::SettingTools settings;
  mrp::WorkGrids grids(app);
  mrp::Explosion explosion(data, {convert, db, settings});
  explosion.Run(grids.materials, o.product, o.quantity, o.one_level);
  const std::string title = "materials for " + text::NumberText(o.quantity) + " " + o.product +
                            (o.one_level ? " (one level)" : "");
  std::cout << RenderPickList(AsTable(grids.materials, title), TerminalWidth(STDOUT_FILENO));
}

}  // namespace

void AddExplodeCommand(CLI::App& app) {
  auto o = std::make_shared<ExplodeOptions>();
  CLI::App* explode = app.add_subcommand(
      "explode",
      "Show the materials and semi-finished products a quantity of a product needs, "
      "level by level through its bills of materials; nothing is stored");
  explode->add_option("--db", o->db, kDbHelp)->required();
  explode->add_option("PRODUCT", o->product, "The product code")->required();
  explode->add_option("QUANTITY", o->quantity, "The quantity of it, in its first unit")->required();
  explode->add_flag("--one-level", o->one_level, "Only the product's own bill of materials");
  explode->callback([o] { ShowExplosion(*o); });
}

}  // namespace kz8mrp::cli
