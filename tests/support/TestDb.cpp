// Fresh databases for tests. A SQLite file is made with the whole schema. On PostgreSQL each test
// process installs the schema once into a template database of its own; every test then gets a copy
// made by CREATE DATABASE ... TEMPLATE, which is much faster than installing the schema again.
// Names carry the process id, so the test programs that ctest runs side by side never meet.
#include "support/TestDb.h"

#include "host/db/Pool.h"
#include "host/schema/Schema.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <stdexcept>

namespace kz8test {
namespace {

using kz8mrp::db::Connection;
using kz8mrp::db::OpenMode;

std::string PostgresServer() {
  const char* pg = std::getenv("KZ8MRP_TEST_PG");
  return pg ? pg : "";
}

std::string FreshSqlite(std::string name) {
  static const std::filesystem::path dir = [] {
    auto d = std::filesystem::temp_directory_path() / ("kz8mrp-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    return d;
  }();
  static std::atomic<int> counter{0};
  std::replace_if(
      name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
  const std::string path = (dir / (name + "-" + std::to_string(counter++) + ".db")).string();
  kz8mrp::schema::Install(*Connection::Open(path, OpenMode::Create));
  return path;
}

// The server's connection string (keyword or URI form) with another database.
std::string WithDatabase(const std::string& server, const std::string& database) {
  PQconninfoOption* options = PQconninfoParse(server.c_str(), nullptr);
  if (!options) throw std::runtime_error("KZ8MRP_TEST_PG is no connection string: " + server);
  std::string out;
  for (const PQconninfoOption* o = options; o->keyword; ++o) {
    if (!o->val || std::string(o->keyword) == "dbname") continue;
    out += std::string(o->keyword) + "='";
    for (const char* c = o->val; *c; ++c) out += std::string(*c == '\'' || *c == '\\', '\\') + *c;
    out += "' ";
  }
  PQconninfoFree(options);
  return out + "dbname=" + database;
}

class TestServer {
 public:
  explicit TestServer(const std::string& server)
      : server_(server),
        template_(prefix_ + "template"),
        admin_(Connection::Open(server, OpenMode::Create)) {
    Drop(template_);
    // The C collation sorts codes in byte order, as SQLite does.
    admin_->Execute("CREATE DATABASE " + template_ +
                    " ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C' TEMPLATE template0");
    kz8mrp::schema::Install(*Connection::Open(WithDatabase(server_, template_), OpenMode::Create));
  }
  ~TestServer() {
    try {
      Drop(template_);
    } catch (...) {  // a server of one's own keeps a stray template; never fail at exit
    }
  }

  std::string Fresh() {
    std::lock_guard lock(mutex_);
    const std::string name = prefix_ + std::to_string(++count_);
    // Copying the files is quicker than logging every page of a small template.
    admin_->Execute("CREATE DATABASE " + name + " TEMPLATE " + template_ + " STRATEGY FILE_COPY");
    return WithDatabase(server_, name);
  }

  // A database by its name, or by a connection string that ends in it.
  void Drop(const std::string& database) {
    const std::size_t at = database.rfind("dbname=");
    std::lock_guard lock(mutex_);
    admin_->Execute("DROP DATABASE IF EXISTS " +
                    database.substr(at == std::string::npos ? 0 : at + 7) + " WITH (FORCE)");
  }

 private:
  std::string server_;
  std::string prefix_ = "kz8t_" + std::to_string(::getpid()) + "_";
  std::string template_;
  std::unique_ptr<Connection> admin_;
  std::mutex mutex_;
  int count_ = 0;
};

TestServer& Server() {
  static TestServer instance(PostgresServer());
  return instance;
}

std::string CurrentTestName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  return std::string(info->test_suite_name()) + "_" + info->name();
}

}  // namespace

std::vector<std::string> Backends() {
  std::vector<std::string> b = {"sqlite"};
  if (!PostgresServer().empty()) b.emplace_back("postgresql");
  return b;
}

std::string BackendName(const ::testing::TestParamInfo<std::string>& info) { return info.param; }

std::string DbTest::FreshDatabase() {
  return IsPostgres() ? Server().Fresh() : FreshSqlite(CurrentTestName());
}

void DbTest::SetUp() {
  connection_string_ = FreshDatabase();
  connection_ = kz8mrp::db::Connection::Open(connection_string_);
  data_ = std::make_unique<kz8mrp::DataObj>(connection_string_, app_, client_);
  data_->SetNow(kz8mrp::OleDate::FromParts(2027, 1, 4, 9, 0));
}

void DbTest::TearDown() {
  data_.reset();
  connection_.reset();
  kz8mrp::db::ClearPool();
  if (!IsPostgres()) return;
  Server().Drop(connection_string_);
  for (const std::string& other : others_) Server().Drop(other);
}

std::string DbTest::AnotherDatabase() {
  others_.push_back(FreshDatabase());
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
    for (const auto& v : row)
      out += (&v == &row.front() ? "" : "|") + (v.IsNull() ? std::string("null") : v.AsText());
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
