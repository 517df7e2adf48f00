#include <kz8mrp/Session.h>

#include "host/db/Connection.h"

#include <chrono>
#include <ctime>

namespace kz8mrp {

std::vector<std::size_t> AppObj::ShowPickList(const PickList& list) const {
  return pick_list_handler_ ? pick_list_handler_(list) : std::vector<std::size_t>{};
}

DataObj::DataObj(std::string connection_string, AppObj& app, ClientObj& client)
    : connection_string_(std::move(connection_string)), app_(&app), client_(&client) {}

DataObj::~DataObj() = default;

db::Connection& DataObj::Connection() {
  if (!connection_) connection_ = db::Connection::Open(connection_string_);
  return *connection_;
}

std::string DataObj::DatabaseKind() { return Connection().KindName(); }

void DataObj::ExecuteSQL(const std::string& sql) { Connection().Change(sql); }

bool DataObj::OpenSession() {
  // A session whose server went away starts afresh when no transaction is open.
  if (connection_ && connection_->TransactionDepth() == 0 && !connection_->backend().Healthy()) {
    connection_.reset();
  }
  Connection();
  ++open_sessions_;
  return true;
}

bool DataObj::BeginTrans() {
  Connection().BeginTrans();
  return true;
}

bool DataObj::CommitTrans() {
  Connection().CommitTrans();
  return true;
}

bool DataObj::RollbackTrans() {
  Connection().RollbackTrans();
  return true;
}

bool DataObj::CloseSession() {
  if (open_sessions_ > 0) --open_sessions_;
  return true;
}

int DataObj::TransactionDepth() const { return connection_ ? connection_->TransactionDepth() : 0; }

OleDate DataObj::Now() const {
  if (fixed_now_) return *fixed_now_;
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  return OleDate::FromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                            local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec);  // a leap second
}

}  // namespace kz8mrp
