// Connections kept per connection string for the operations that read through
// a connection of their own (lookups by connection string, private reads).
// Each lease reads only committed data; it returns its connection when it ends.
#pragma once

#include "host/db/Connection.h"

#include <memory>
#include <string>

namespace kz8mrp::db {

class PooledConnection {
 public:
  explicit PooledConnection(const std::string& connection_string);
  PooledConnection(const PooledConnection&) = delete;
  PooledConnection& operator=(const PooledConnection&) = delete;
  ~PooledConnection();

  Connection& operator*() const { return *connection_; }
  Connection* operator->() const { return connection_.get(); }

 private:
  std::unique_ptr<Connection> connection_;
};

// Closes every idle pooled connection (a test that deletes its database file).
void ClearPool();

}  // namespace kz8mrp::db
