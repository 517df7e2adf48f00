#include "host/db/Pool.h"

#include <map>
#include <mutex>
#include <vector>

namespace kz8mrp::db {
namespace {

constexpr std::size_t kIdlePerString = 8;

struct Pool {
  std::mutex mutex;
  std::map<std::string, std::vector<std::unique_ptr<Connection>>> idle;
};

Pool& ThePool() {
  static auto* pool = new Pool;  // outlives every static that might return a lease
  return *pool;
}

}  // namespace

PooledConnection::PooledConnection(const std::string& connection_string) {
  Pool& pool = ThePool();
  {
    std::lock_guard lock(pool.mutex);
    auto& idle = pool.idle[connection_string];
    while (!connection_ && !idle.empty()) {
      connection_ = std::move(idle.back());
      idle.pop_back();
      // A server restart or an administrator may have ended an idle session.
      if (!connection_->backend().Healthy()) connection_.reset();
    }
  }
  if (!connection_) connection_ = Connection::Open(connection_string);
}

PooledConnection::~PooledConnection() {
  if (!connection_ || connection_->TransactionDepth() != 0 || !connection_->backend().Healthy()) {
    return;  // not reusable as it stands: let it close
  }
  Pool& pool = ThePool();
  std::lock_guard lock(pool.mutex);
  auto& idle = pool.idle[connection_->ConnectionString()];
  if (idle.size() < kIdlePerString) idle.push_back(std::move(connection_));
}

void ClearPool() {
  Pool& pool = ThePool();
  std::lock_guard lock(pool.mutex);
  pool.idle.clear();
}

}  // namespace kz8mrp::db
