#include "support/TestDb.h"

#include "host/db/Pool.h"
#include "host/schema/Schema.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>

namespace kz8test {
namespace {

std::string PostgresServer() {
  const char* pg = std::getenv("KZ8MRP_TEST_PG");
  return pg ? pg : "";
}

std::filesystem::path ScratchDirectory() {
  static const std::filesystem::path dir = [] {
    auto d = std::filesystem::temp_directory_path() / ("kz8mrp-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

std::string SafeName(std::string name) {
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

std::string FreshSqlite(const std::string& test_name) {
  static std::atomic<int> counter{0};
  const auto path =
      ScratchDirectory() / (SafeName(test_name) + "-" + std::to_string(counter++) + ".db");
  auto connection = kz8mrp::db::Connection::Open(path.string(), kz8mrp::db::OpenMode::Create);
  kz8mrp::schema::Install(*connection);
  return path.string();
}

}  // namespace

// Defined by the PostgreSQL test support: a fresh database on the test server,
// and its removal when the test is done.
std::string FreshPostgres(const std::string& server, const std::string& test_name);
void DropPostgres(const std::string& server, const std::string& connection_string);

std::vector<std::string> Backends() {
  std::vector<std::string> b = {"sqlite"};
  if (!PostgresServer().empty()) b.emplace_back("postgresql");
  return b;
}

std::string BackendName(const ::testing::TestParamInfo<std::string>& info) { return info.param; }

std::string FreshDatabase(const std::string& backend, const std::string& test_name) {
  if (backend == "postgresql") return FreshPostgres(PostgresServer(), test_name);
  return FreshSqlite(test_name);
}

namespace {
std::string CurrentTestName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  return std::string(info->test_suite_name()) + "_" + info->name();
}
}  // namespace

void DbTest::SetUp() {
  connection_string_ = FreshDatabase(GetParam(), CurrentTestName());
  connection_ = kz8mrp::db::Connection::Open(connection_string_);
  data_ = std::make_unique<kz8mrp::DataObj>(connection_string_, app_, client_);
  data_->SetNow(kz8mrp::OleDate::FromParts(2027, 1, 4, 9, 0));
}

void DbTest::TearDown() {
  data_.reset();
  connection_.reset();
  kz8mrp::db::ClearPool();
  if (!IsPostgres()) return;
  DropPostgres(PostgresServer(), connection_string_);
  for (const std::string& other : others_) DropPostgres(PostgresServer(), other);
}

std::string DbTest::AnotherDatabase() {
  others_.push_back(FreshDatabase(GetParam(), CurrentTestName()));
  return others_.back();
}

std::string DbTest::Scalar(const std::string& sql) {
  const auto rs = Query(sql);
  if (rs.rows.empty() || rs.rows.front().empty()) return {};
  return rs.rows.front().front().AsText();
}

std::string DbTest::Values(const std::string& sql) {
  const auto rs = Query(sql);
  if (rs.rows.empty()) return "no row";
  std::string out;
  for (const auto& row : rs.rows) {
    if (&row != &rs.rows.front()) out += ';';
    for (const auto& v : row) {
      out += (&v == &row.front() ? "" : "|") + (v.IsNull() ? std::string("null") : v.AsText());
    }
  }
  return out;
}

void DbTest::InsertRows(std::string_view table, const std::vector<std::string_view>& columns,
                        const std::vector<std::vector<kz8mrp::db::Value>>& rows) {
  for (const auto& values : rows) {
    kz8mrp::db::RowValues row;
    for (std::size_t i = 0; i < values.size(); ++i) row.emplace_back(columns.at(i), values[i]);
    Insert(table, row);
  }
}

void DbTest::Setting(const std::string& key, const std::string& value) {
  kz8mrp::db::WriteRow(fixture_connection(), "KZ8TSetting",
                       {{"TSetKey", key}, {"TSetValue", value}});
}

}  // namespace kz8test
