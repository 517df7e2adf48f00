#include "host/services/SettingTools.h"

#include <kz8mrp/Error.h>

#include "common/Text.h"
#include "host/db/Connection.h"
#include "host/db/Pool.h"
#include "host/services/SettingKeys.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace kz8mrp::host {

bool ReadSetting(db::Connection& connection, std::string_view key, std::string& value) {
  const auto rs = connection.Query(
      "SELECT TSetValue FROM KZ8TSetting WHERE TSetKey=" + connection.backend().Placeholder(1),
      {db::Value(key)});
  if (rs.rows.empty()) return false;
  value = rs.rows.front().front().AsText();
  return true;
}

namespace {

// The engine's own entry for a key it reads as one of `kinds`; reading a key
// that is missing from the list, or as another kind, is a fault of the caller.
const EngineSetting& Listed(std::string_view key, std::initializer_list<SettingKind> kinds) {
  const EngineSetting* setting = FindEngineSetting(key);
  if (!setting || std::find(kinds.begin(), kinds.end(), setting->kind) == kinds.end()) {
    throw Error(errc::kInvalidArgument,
                "the setting " + std::string(key) + " is not listed as read that way");
  }
  return *setting;
}

}  // namespace

double SettingTools::GetNumber(std::string_view key, db::Connection& connection) const {
  const EngineSetting& setting =
      Listed(key, {SettingKind::Number, SettingKind::Hours, SettingKind::Mode});
  std::string value;
  if (!ReadSetting(connection, key, value)) return 0;
  return SettingNumber(setting, value);
}

double SettingTools::GetNumberStr(std::string_view key,
                                  const std::string& connection_string) const {
  db::PooledConnection connection(connection_string);
  return GetNumber(key, *connection);
}

std::string SettingTools::GetText(std::string_view key, db::Connection& connection) const {
  Listed(key, {SettingKind::Text});
  std::string value;
  ReadSetting(connection, key, value);
  return value;
}

bool SettingTools::GetFlag(std::string_view /*client_identity*/, std::string_view key,
                           const std::string& connection_string, std::string_view /*app_identity*/,
                           bool default_value) const {
  const EngineSetting& setting = Listed(key, {SettingKind::Flag});
  db::PooledConnection connection(connection_string);
  std::string value;
  if (!ReadSetting(*connection, key, value)) return default_value;
  return SettingFlag(setting, value, default_value);
}

void SettingTools::Put(std::string_view key, std::string_view value,
                       db::Connection& connection) const {
  if (text::Trim(key).empty()) throw Error(errc::kInvalidArgument, "a setting needs a key");
  CheckSettingValue(key, value);
  const auto& b = connection.backend();
  connection.Execute("INSERT INTO KZ8TSetting (TSetKey,TSetValue) VALUES (" + b.Placeholder(1) +
                         "," + b.Placeholder(2) +
                         ") ON CONFLICT (TSetKey) DO UPDATE SET TSetValue=excluded.TSetValue",
                     {db::Value(key), db::Value(value)});
}

namespace {

// Short tags keep numbers of kinds that share a table apart.
std::string KindTag(std::string_view kind) {
  static const std::map<std::string, std::string, std::less<>> kTags = {
      {"JOB", "JOB"}, {"MPS", "MPS"}, {"PRODUCTION", "PD"}, {"PRODUCTIONPROCESS", "PP"}};
  const std::string upper = text::ToUpper(kind);
  const auto it = kTags.find(upper);
  return it == kTags.end() ? upper : it->second;
}

std::string Period(OleDate date) {
  const auto p = date.Split();
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d%02d", p.year % 100, p.month);
  return buf;
}

// Raises the counter of a kind, book and month inside the caller's transaction
// and returns its new value. The counter row exists after the first number of a
// month, so the usual case is one single-row update; the first number of a month
// adds the row, and two sessions adding it at once meet in the upsert. Inside a
// transaction the row stays locked after the first raise, so the connection
// holds the counter and later numbers of the transaction are counted there.
long long RaiseCounter(db::Connection& connection, const std::string& tag, const std::string& book,
                       const std::string& period) {
  const std::string held_key = "KZ8TDocNo\x1f" + tag + "\x1f" + book + "\x1f" + period;
  if (auto* held = connection.Held(held_key)) {
    held->unsaved = true;
    return ++held->last;
  }
  const auto& b = connection.backend();
  const std::string where = " WHERE TDocKind=" + b.Placeholder(1) +
                            " AND TDocBook=" + b.Placeholder(2) +
                            " AND TDocPeriod=" + b.Placeholder(3);
  const std::vector<db::Value> key{db::Value(tag), db::Value(book), db::Value(period)};
  auto rs = connection.Query(
      "UPDATE KZ8TDocNo SET TDocLast=TDocLast+1" + where + " RETURNING TDocLast", key);
  if (rs.rows.empty()) {
    rs = connection.Query("INSERT INTO KZ8TDocNo (TDocKind,TDocBook,TDocPeriod,TDocLast) VALUES (" +
                              b.Placeholder(1) + "," + b.Placeholder(2) + "," + b.Placeholder(3) +
                              ",1) ON CONFLICT (TDocKind,TDocBook,TDocPeriod) DO UPDATE SET "
                              "TDocLast=KZ8TDocNo.TDocLast+1 RETURNING TDocLast",
                          key);
  }
  const auto last = static_cast<long long>(rs.rows.at(0).at(0).AsNumber());
  connection.Hold(held_key, last, [key, where](db::Connection& c, long long value) {
    std::vector<db::Value> params = key;
    params.emplace_back(static_cast<std::int64_t>(value));
    c.Execute("UPDATE KZ8TDocNo SET TDocLast=" + c.backend().Placeholder(4) + where, params);
  });
  return last;
}

}  // namespace

std::string SettingTools::NewDocumentNo(std::string_view kind, db::Connection& connection,
                                        OleDate document_date, std::string_view branch,
                                        std::string_view book) const {
  return NewDocumentNo2(kind, connection, document_date, branch, book);
}

std::string SettingTools::NewDocumentNo2(std::string_view kind, db::Connection& connection,
                                         OleDate document_date, std::string_view /*branch*/,
                                         std::string_view book, std::string_view /*book_doc_code*/,
                                         std::string_view /*job_book*/) const {
  if (text::Trim(kind).empty()) throw Error(errc::kInvalidArgument, "document kind is empty");
  const std::string period = Period(document_date);
  // The counter is kept per number prefix, so two kinds (or two books) whose
  // numbers read alike count together and never issue the same number.
  const std::string tag = KindTag(kind);
  std::string book_code(text::Trim(book));
  if (book_code == "-") book_code.clear();  // "-" names no book, as an empty code does
  const long long last = RaiseCounter(connection, tag, book_code, period);
  char seq[24];
  std::snprintf(seq, sizeof seq, "%05lld", last);
  std::string number = tag + "-";
  if (!book_code.empty()) number += book_code + "-";
  return number + period + "-" + seq;
}

void SettingTools::LogApproval(const ApprovalRecord& r, db::Connection& connection) const {
  const auto& b = connection.backend();
  std::string marks;
  for (int i = 1; i <= 9; ++i) marks += (i > 1 ? "," : "") + b.Placeholder(i);
  connection.Execute(
      "INSERT INTO KZ8TApproveLog (TAplMode,TAplEvent,TAplDocNo,TAplRemark,TAplUserCode,"
      "TAplKeyColumn,TAplPrefix,TAplTable,TAplDate) VALUES (" +
          marks + ")",
      {db::Value(r.mode), db::Value(r.event), db::Value(r.document_no), db::Value(r.remark),
       db::Value(r.user_code), db::Value(r.key_column), db::Value(r.prefix), db::Value(r.table),
       db::Value(r.when)});
}

}  // namespace kz8mrp::host
