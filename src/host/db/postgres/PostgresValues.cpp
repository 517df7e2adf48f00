#include "host/db/postgres/PostgresValues.h"

#include "common/Text.h"

#include <charconv>
#include <string_view>

namespace kz8mrp::db::postgres {
namespace {

// Built-in type OIDs (pg_type.h); they are fixed across server versions.
enum : Oid {
  kBool = 16,
  kInt8 = 20,
  kInt2 = 21,
  kInt4 = 23,
  kOid = 26,
  kFloat4 = 700,
  kFloat8 = 701,
  kDate = 1082,
  kTimestamp = 1114,
  kTimestampTz = 1184,
  kNumeric = 1700,
};

enum class Decode { Text, Number, Bool, Date };

Decode DecodeOf(Oid type) {
  switch (type) {
    case kInt2:
    case kInt4:
    case kInt8:
    case kOid:
    case kFloat4:
    case kFloat8:
    case kNumeric:
      return Decode::Number;
    case kBool:
      return Decode::Bool;
    case kDate:
    case kTimestamp:
    case kTimestampTz:
      return Decode::Date;
    default:
      return Decode::Text;
  }
}

// "YYYY-MM-DD[ HH:MM:SS[.ffffff]][+zone]" in the ISO DateStyle every session sets.
bool ReadTimestamp(std::string_view t, OleDate& out) {
  constexpr std::size_t kSeconds = 19;  // "YYYY-MM-DD HH:MM:SS"
  if (t.size() <= kSeconds) return OleDate::TryParse(t, out);
  if (!OleDate::TryParse(t.substr(0, kSeconds), out)) return false;
  std::size_t end = kSeconds;
  if (t[end] == '.') {
    ++end;
    while (end < t.size() && t[end] >= '0' && t[end] <= '9') ++end;
    double fraction = 0;
    std::from_chars(t.data() + kSeconds, t.data() + end, fraction);
    out = OleDate(out.Serial() + fraction / 86400.0);
  }
  return end == t.size() || t[end] == '+' || t[end] == '-';  // a zone is read as local time
}

Value DecodeText(Decode decode, std::string_view t) {
  switch (decode) {
    case Decode::Number: {
      double n = 0;
      if (text::ParseNumber(t, n)) return Value(n);
      break;  // NaN or infinity: keep the server's text
    }
    case Decode::Bool:
      return Value(t == "t" ? 1 : 0);
    case Decode::Date: {
      OleDate d;
      if (ReadTimestamp(t, d)) return Value(d);
      break;  // infinity or a date outside the engine's range
    }
    case Decode::Text:
      break;
  }
  return Value(std::string(t));
}

}  // namespace

ParamTexts::ParamTexts(const std::vector<Value>& params) {
  texts_.reserve(params.size());
  for (const Value& v : params) {
    switch (v.kind()) {
      case Value::Kind::Null:
        texts_.emplace_back();
        break;
      case Value::Kind::Date:
        texts_.push_back(v.date().ToString());
        break;
      default:
        texts_.push_back(v.AsText());
    }
  }
  pointers_.reserve(params.size());
  for (std::size_t i = 0; i < params.size(); ++i) {
    pointers_.push_back(params[i].IsNull() ? nullptr : texts_[i].c_str());
  }
}

RowReader::RowReader(const PGresult* result) {
  for (int c = 0, n = PQnfields(result); c < n; ++c) {
    columns_.emplace_back(PQfname(result, c));
    types_.push_back(PQftype(result, c));
  }
}

std::vector<Value> RowReader::Read(const PGresult* result, int r) const {
  std::vector<Value> row;
  row.reserve(types_.size());
  for (std::size_t c = 0; c < types_.size(); ++c) {
    const int at = static_cast<int>(c);
    if (PQgetisnull(result, r, at)) {
      row.emplace_back();
      continue;
    }
    const std::string_view t(PQgetvalue(result, r, at),
                             static_cast<std::size_t>(PQgetlength(result, r, at)));
    row.push_back(DecodeText(DecodeOf(types_[c]), t));
  }
  return row;
}

ResultSet ReadResult(const PGresult* result) {
  const RowReader reader(result);
  ResultSet rs;
  rs.columns = reader.Columns();
  const int rows = PQntuples(result);
  rs.rows.reserve(static_cast<std::size_t>(rows));
  for (int r = 0; r < rows; ++r) rs.rows.push_back(reader.Read(result, r));
  return rs;
}

ColumnType TypeOfName(const std::string& type_name) {
  if (type_name == "int2" || type_name == "int4" || type_name == "int8" || type_name == "bool") {
    return ColumnType::Integer;
  }
  if (type_name == "float4" || type_name == "float8" || type_name == "numeric") {
    return ColumnType::Real;
  }
  if (type_name == "timestamp" || type_name == "timestamptz" || type_name == "date") {
    return ColumnType::Date;
  }
  return ColumnType::Text;
}

}  // namespace kz8mrp::db::postgres
