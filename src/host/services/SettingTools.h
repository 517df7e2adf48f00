// System settings, document numbering and the approval history.
#pragma once

#include <kz8mrp/OleDate.h>

#include <string>
#include <string_view>

namespace kz8mrp::db {
class Connection;
}

namespace kz8mrp::host {

struct ApprovalRecord {
  int mode = 1;
  std::string event;
  std::string document_no;
  std::string remark;
  std::string user_code;
  std::string key_column;
  std::string prefix;
  std::string table;
  OleDate when;
};

// Reads only the settings the engine lists (SettingKeys.h), as what it lists
// them as; a stored value the engine cannot read is an error naming the setting.
class SettingTools {
 public:
  // The setting converted to a number; 0 when absent or blank.
  double GetNumber(std::string_view key, db::Connection& connection) const;
  double GetNumberStr(std::string_view key, const std::string& connection_string) const;
  // The setting's text; "" when absent.
  std::string GetText(std::string_view key, db::Connection& connection) const;
  // "1"/"True"/"Y"/"-1" true, "0"/"False"/"N" false (any case), `default_value`
  // when absent or blank.
  bool GetFlag(std::string_view client_identity, std::string_view key,
               const std::string& connection_string, std::string_view app_identity,
               bool default_value) const;
  // Stores a setting, refusing a value the engine could not read under its key.
  void Put(std::string_view key, std::string_view value, db::Connection& connection) const;

  // A new number for a document of `kind` in `book`, dated `document_date`:
  // one counter per kind, book and month (YYMM), raised on `connection` inside
  // the caller's transaction. Numbers of different kinds never coincide, so
  // kinds that share a table never share a number; a book of "-" is no book.
  std::string NewDocumentNo(std::string_view kind, db::Connection& connection,
                            OleDate document_date, std::string_view branch,
                            std::string_view book) const;
  std::string NewDocumentNo2(std::string_view kind, db::Connection& connection,
                             OleDate document_date, std::string_view branch,
                             std::string_view book = "", std::string_view book_doc_code = "",
                             std::string_view job_book = "") const;

  void LogApproval(const ApprovalRecord& record, db::Connection& connection) const;
};

// The stored text of a setting, or nothing.
bool ReadSetting(db::Connection& connection, std::string_view key, std::string& value);

}  // namespace kz8mrp::host
