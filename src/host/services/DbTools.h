// Lookups, single-value queries, counts and pick lists. Operations that take a
// connection run on it (inside the caller's transaction); the "...Str" ones and
// those given a connection string read through a pooled connection of their own
// and so see only committed rows.
#pragma once

#include <kz8mrp/PickList.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace kz8mrp {
class AppObj;
namespace db {
class Connection;
}
}  // namespace kz8mrp

namespace kz8mrp::host {

struct PickListRequest {
  std::string title;
  std::string return_columns;  // one column, or several joined by ';'
  std::string columns;         // shown columns, joined by ','
  std::string captions;        // joined by ','
  std::string widths;          // joined by ','
  std::string formats;         // joined by ','; 6 shows a date
  std::string rows;            // table-and-condition text
  bool multi_select = false;
};

class DbTools {
 public:
  // Rewrites "#$date#$" for the database kind ("SQLITE" or "POSTGRESQL").
  std::string ConvertSQL(std::string_view sql, std::string_view kind) const;

  // The result column of the first row (in key order) whose key column equals
  // the key value; "" or 0 when there is none.
  std::string LookupText(std::string_view key_column, std::string_view key_value,
                         std::string_view result_column, std::string_view table,
                         db::Connection& connection) const;
  std::string LookupTextStr(std::string_view key_column, std::string_view key_value,
                            std::string_view result_column, std::string_view table,
                            const std::string& connection_string) const;
  double LookupNumber(std::string_view key_column, std::string_view key_value,
                      std::string_view result_column, std::string_view table,
                      db::Connection& connection) const;
  double LookupNumberStr(std::string_view key_column, std::string_view key_value,
                         std::string_view result_column, std::string_view table,
                         const std::string& connection_string) const;

  // A column of the first row a query returns; "" or 0 when none.
  std::string QueryText(std::string_view column, const std::string& sql,
                        db::Connection& connection) const;
  double QueryNumber(std::string_view column, const std::string& sql,
                     db::Connection& connection) const;
  double QueryNumberStr(std::string_view column, const std::string& sql,
                        const std::string& connection_string) const;
  std::string FieldText(std::string_view column, const std::string& sql,
                        const std::string& connection_string) const;

  // Rows of a table-and-condition text ("KZ8TJob WHERE ...").
  std::int64_t Count(std::string_view column, const std::string& table_and_condition,
                     const std::string& connection_string) const;

  // Shows the rows through the host's pick-list handler. Returns the return
  // column(s) of the picked rows: columns of a row joined by ';', rows by ',';
  // "" when nothing is picked.
  std::string PickList(const PickListRequest& request, const std::string& connection_string,
                       const AppObj& app) const;
  std::string ShowPickList(const PickListRequest& request, const std::string& connection_string,
                           const AppObj& app) const {
    return PickList(request, connection_string, app);
  }
};

}  // namespace kz8mrp::host
