// Loading a benchmark's plant: rows of one table sent 500 to a statement.
#pragma once

#include "host/db/Connection.h"

#include <string>
#include <utility>

namespace kz8bench {

class RowWriter {
 public:
  // `head`: "INSERT INTO table (columns)"; each row added is its values' text.
  RowWriter(kz8mrp::db::Connection& c, std::string head) : c_(c), head_(std::move(head)) {}
  RowWriter(const RowWriter&) = delete;
  RowWriter& operator=(const RowWriter&) = delete;
  ~RowWriter() { Flush(); }
  void Add(const std::string& values) {
    rows_ += (rows_.empty() ? "(" : ",(") + values + ")";
    if (++count_ == 500) Flush();
  }

 private:
  void Flush() {
    if (!rows_.empty()) c_.Execute(head_ + " VALUES " + rows_);
    rows_.clear();
    count_ = 0;
  }
  kz8mrp::db::Connection& c_;
  std::string head_;
  std::string rows_;
  int count_ = 0;
};

}  // namespace kz8bench
