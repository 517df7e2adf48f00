// Fresh PostgreSQL databases for tests. Each test process installs the schema
// once into a template database of its own; every test then gets a copy made
// by CREATE DATABASE ... TEMPLATE, which is much faster than installing the
// schema again. Names carry the process id, so the test programs that ctest
// runs side by side never meet.
#include "host/db/Connection.h"
#include "host/schema/Schema.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>

namespace kz8test {
namespace {

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
        admin_(kz8mrp::db::Connection::Open(server, kz8mrp::db::OpenMode::Create)) {
    Drop(template_);
    // The C collation sorts codes in byte order, as SQLite does.
    admin_->Execute("CREATE DATABASE " + template_ +
                    " ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C' TEMPLATE template0");
    kz8mrp::schema::Install(*kz8mrp::db::Connection::Open(WithDatabase(server_, template_),
                                                          kz8mrp::db::OpenMode::Create));
  }
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;
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

  void DropByConnectionString(const std::string& connection_string) {
    std::lock_guard lock(mutex_);
    Drop(connection_string.substr(connection_string.rfind("dbname=") + 7));
  }

 private:
  void Drop(const std::string& name) {
    admin_->Execute("DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
  }

  std::string server_;
  std::string prefix_ = "kz8t_" + std::to_string(::getpid()) + "_";
  std::string template_;
  std::unique_ptr<kz8mrp::db::Connection> admin_;
  std::mutex mutex_;
  int count_ = 0;
};

TestServer& Server(const std::string& server) {
  static TestServer instance(server);
  return instance;
}

}  // namespace

std::string FreshPostgres(const std::string& server, const std::string& /*test_name*/) {
  return Server(server).Fresh();
}

void DropPostgres(const std::string& server, const std::string& connection_string) {
  Server(server).DropByConnectionString(connection_string);
}

}  // namespace kz8test
