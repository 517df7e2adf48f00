// Values to and from PostgreSQL's text format.
#pragma once

#include "host/db/Backend.h"

#include <libpq-fe.h>

#include <string>
#include <vector>

namespace kz8mrp::db::postgres {

// Parameters in text form, with the pointer array libpq takes (null for NULL).
// The server infers each parameter's type from where it stands.
class ParamTexts {
 public:
  explicit ParamTexts(const std::vector<Value>& params);
  ParamTexts(const ParamTexts&) = delete;
  ParamTexts& operator=(const ParamTexts&) = delete;
  ParamTexts(ParamTexts&&) = delete;
  ParamTexts& operator=(ParamTexts&&) = delete;
  ~ParamTexts() = default;

  int count() const { return static_cast<int>(pointers_.size()); }
  const char* const* values() const { return pointers_.empty() ? nullptr : pointers_.data(); }

 private:
  std::vector<std::string> texts_;
  std::vector<const char*> pointers_;
};

// The rows of results shaped alike (the batches of one cursor), each column
// decoded by its type.
class RowReader {
 public:
  explicit RowReader(const PGresult* result);
  const std::vector<std::string>& Columns() const { return columns_; }
  std::vector<Value> Read(const PGresult* result, int row) const;

 private:
  std::vector<std::string> columns_;
  std::vector<Oid> types_;
};

// The whole result as a snapshot; each column decoded by its type.
ResultSet ReadResult(const PGresult* result);

// The layer's column type of a catalog type name (pg_type.typname).
ColumnType TypeOfName(const std::string& type_name);

}  // namespace kz8mrp::db::postgres
