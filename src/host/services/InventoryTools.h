// Stock figures from the posted stock card, and posting of stock documents.
#pragma once

#include <kz8mrp/OleDate.h>

#include "host/db/Value.h"

#include <string>
#include <string_view>
#include <vector>

namespace kz8mrp {
class DataObj;
class AppObj;
class ClientObj;
}  // namespace kz8mrp

namespace kz8mrp::db {
class Connection;
}  // namespace kz8mrp::db

namespace kz8mrp::host {

// " AND TStcDate<" the midnight after `day`, its value appended to `params`;
// nothing on 9999-12-31, the last day, which every stored moment precedes.
std::string StockBeforeDayAfter(db::Connection& connection, OleDate day,
                                std::vector<db::Value>& params);

class InventoryTools {
 public:
  // Stock of a kind ("RM", "WIP", "RM-OUT", "FG") up to and including the day.
  double Balance(DataObj& data, std::string_view product, OleDate date,
                 std::string_view stock_kind) const;
  // Movements of that kind on that day.
  double Balance2(DataObj& data, std::string_view product, OleDate date,
                  std::string_view stock_kind) const;
  // Quantity received on that day; an empty kind means finished goods.
  double Balance3(DataObj& data, std::string_view product, OleDate date,
                  std::string_view stock_kind) const;
  // (Re)writes the stock card rows of a stock document: its lines when it is
  // approved and not cancelled, none otherwise.
  void Post(std::string_view document_no, bool repost, DataObj& data, AppObj& app,
            ClientObj& client) const;
};

}  // namespace kz8mrp::host
