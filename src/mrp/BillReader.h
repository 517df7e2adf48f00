// What one explosion reads of the product master, read once per product and
// kept for the rest of the explosion: a bill met again at a deeper level, or
// under another parent, costs no further statement.
#pragma once

#include "host/db/Pool.h"
#include "host/db/Value.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace kz8mrp::host {
class DbTools;
class SettingTools;
}  // namespace kz8mrp::host

namespace kz8mrp::mrp {

// Values are kept as read; the explosion converts each where it writes it, so
// that one unreadable value spoils one cell and not the line.
struct SelfRow {
  db::Value code;
  db::Value name;
  std::array<db::Value, 3> units;
};

struct BillLine {
  db::Value step;
  db::Value material;
  db::Value material_name;
  db::Value mat_type;
  db::Value number;
  db::Value alternative;
  db::Value auto_explode;
  std::array<db::Value, 3> quantities;
  std::array<db::Value, 3> units;
  db::Value scrap_percent;
  db::Value remark;
  bool material_has_bill = false;
};

struct ProductBill {
  bool self_material = false;
  std::vector<SelfRow> self_rows;  // the product itself, as a material of its own bill
  double batch_output = 0;         // 0 when the product master leaves it open
  double scrap_percent = 0;
  std::map<double, std::string> step_codes;  // routing step number -> step code
  std::string first_step_code;               // of the lowest step number
  std::vector<BillLine> lines;               // last step first, then number, alternative, line
};

class BillReader {
 public:
  // Reads committed data only, through a connection of its own.
  BillReader(const std::string& connection_string, const host::DbTools& db,
             const host::SettingTools& settings);

  const ProductBill& Bill(const std::string& product);
  std::string StepName(const std::string& step_code);
  double DefaultOutputQuantity();

 private:
  ProductBill Read(const std::string& product);

  std::string connection_string_;
  db::PooledConnection connection_;
  const host::DbTools& db_;
  const host::SettingTools& settings_;
  std::unordered_map<std::string, ProductBill> bills_;
  std::unordered_map<std::string, std::string> step_names_;
  std::optional<double> default_output_;
};

}  // namespace kz8mrp::mrp
