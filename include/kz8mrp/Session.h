// The caller's session objects. The library's own are complete and usable as
// they are; every operation is virtual so a host (or a test) can watch or
// replace it.
#pragma once

#include <kz8mrp/OleDate.h>
#include <kz8mrp/PickList.h>

#include <memory>
#include <optional>
#include <string>

namespace kz8mrp {

namespace db {
class Connection;
}

// The signed-in workstation and user.
class ClientObj {
 public:
  ClientObj() = default;
  ClientObj(std::string user_name, std::string user_code, std::string branch_code)
      : user_name_(std::move(user_name)),
        user_code_(std::move(user_code)),
        branch_code_(std::move(branch_code)) {}
  ClientObj(const ClientObj&) = default;
  ClientObj& operator=(const ClientObj&) = default;
  ClientObj(ClientObj&&) = default;
  ClientObj& operator=(ClientObj&&) = default;
  virtual ~ClientObj() = default;

  virtual std::string BranchCode() const { return branch_code_; }
  virtual std::string UserName() const { return user_name_; }
  virtual std::string UserCode() const { return user_code_; }
  virtual std::string Identity() const { return user_code_ + "@" + branch_code_; }

  void SetBranchCode(std::string code) { branch_code_ = std::move(code); }
  void SetUserName(std::string name) { user_name_ = std::move(name); }
  void SetUserCode(std::string code) { user_code_ = std::move(code); }

 private:
  std::string user_name_ = "mrp";
  std::string user_code_ = "MRP";
  std::string branch_code_ = "HQ";
};

// The host application: language of captions, display settings, pick lists.
class AppObj {
 public:
  AppObj() = default;
  AppObj(const AppObj&) = default;
  AppObj& operator=(const AppObj&) = default;
  AppObj(AppObj&&) = default;
  AppObj& operator=(AppObj&&) = default;
  virtual ~AppObj() = default;

  virtual std::string Identity() const { return "kz8mrp"; }
  // Non-zero selects English captions, zero the Thai ones.
  virtual int EnglishUI() const { return english_ui_ ? 1 : 0; }
  virtual int QuantityDecimals() const { return quantity_decimals_; }
  virtual std::string LayoutText() const { return layout_text_; }
  // Shows a pick list; without a handler nothing is picked.
  virtual std::vector<std::size_t> ShowPickList(const PickList& list) const;

  void SetEnglishUI(bool english) { english_ui_ = english; }
  void SetQuantityDecimals(int decimals) { quantity_decimals_ = decimals; }
  void SetLayoutText(std::string text) { layout_text_ = std::move(text); }
  void SetPickListHandler(PickListHandler handler) { pick_list_handler_ = std::move(handler); }

 private:
  bool english_ui_ = false;
  int quantity_decimals_ = 2;
  std::string layout_text_;
  PickListHandler pick_list_handler_;
};

// The database session: the connection every method works on, its transaction
// bracket, and the clock that says what "now" and "today" are.
class DataObj {
 public:
  // `connection_string`: a file path or "sqlite:PATH" for SQLite,
  // "postgresql://..." or "host=... dbname=..." for PostgreSQL. The connection
  // is opened on first use.
  DataObj(std::string connection_string, AppObj& app, ClientObj& client);
  DataObj(const DataObj&) = delete;
  DataObj& operator=(const DataObj&) = delete;
  virtual ~DataObj();

  virtual db::Connection& Connection();
  // "SQLITE" or "POSTGRESQL".
  virtual std::string DatabaseKind();
  virtual std::string ConnectionString() const { return connection_string_; }
  // Runs an action statement inside the session's current transaction.
  virtual void ExecuteSQL(const std::string& sql);

  // Bracket operations. Sessions nest by count; transactions nest through
  // savepoints, so a bracketing method may run inside a caller's transaction.
  virtual bool OpenSession();
  virtual bool BeginTrans();
  virtual bool CommitTrans();
  virtual bool RollbackTrans();
  virtual bool CloseSession();
  int TransactionDepth() const;

  virtual AppObj& App() { return *app_; }
  virtual ClientObj& Client() { return *client_; }

  // The session clock. Unset, it is the machine's local time.
  virtual OleDate Now() const;
  OleDate Today() const { return Now().CalendarDay(); }
  void SetNow(std::optional<OleDate> fixed) { fixed_now_ = fixed; }

 private:
  std::string connection_string_;
  AppObj* app_;
  ClientObj* client_;
  std::unique_ptr<db::Connection> connection_;
  int open_sessions_ = 0;
  std::optional<OleDate> fixed_now_;
};

}  // namespace kz8mrp
