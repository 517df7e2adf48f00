// Opening a plant file: what the connection string names, whether this user may
// write it, and whether it holds a plant at all, all settled before SQLite
// writes anything to it.
#include "host/db/sqlite/SqliteBackend.h"
#include "host/db/sqlite/SqliteError.h"

#include <kz8mrp/Error.h>

#include "common/Text.h"

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>

namespace kz8mrp::db::sqlite {
namespace {

namespace fs = std::filesystem;

constexpr int kMinimumVersion = 3039000;  // nested joins with RIGHT JOIN
constexpr double kDefaultWaitSeconds = 30;
constexpr std::string_view kWaitOption = "wait=";

// "[sqlite:]PATH[?wait=SECONDS]": the file, and how long a change waits for
// another planner's transaction before giving up.
struct Location {
  std::string path;
  int wait_ms = 0;
};

Location Locate(const std::string& connection_string) {
  constexpr std::string_view kPrefix = "sqlite:";
  std::string_view rest = connection_string;
  if (rest.substr(0, kPrefix.size()) == kPrefix) rest.remove_prefix(kPrefix.size());
  double seconds = kDefaultWaitSeconds;
  const auto mark = rest.rfind('?');
  if (mark != std::string_view::npos && rest.find('=', mark) != std::string_view::npos) {
    const std::string_view option = rest.substr(mark + 1);
    if (option.substr(0, kWaitOption.size()) != kWaitOption ||
        !text::ParseNumber(option.substr(kWaitOption.size()), seconds) || seconds < 0) {
      throw Error(errc::kInvalidArgument,
                  "the only option of a SQLite file is ?wait=SECONDS (how "
                  "long a change waits for another planner), not ?" +
                      std::string(option));
    }
    rest = rest.substr(0, mark);
  }
  const double ms = std::min(seconds * 1000, static_cast<double>(INT_MAX));
  return {std::string(rest), static_cast<int>(std::lround(ms))};
}

bool Writable(const fs::path& path) { return ::access(path.c_str(), W_OK) == 0; }

// Writing needs the file and, for the write-ahead log beside it, its folder.
bool CannotWrite(const std::string& path) {
  const fs::path folder = fs::absolute(path).parent_path();
  return !Writable(path) || !Writable(folder);
}

// A read-only open of the file. Without the log's shared memory beside it no
// planner has the file open, and it is read as it stands (nothing is made
// beside it); with it, the log is read through it.
std::string ReadOnlyUri(const std::string& path) {
  std::string uri = "file:";
  for (const char c : fs::absolute(path).string()) {
    const bool plain = std::isalnum(static_cast<unsigned char>(c)) || c == '/' || c == '-' ||
                       c == '.' || c == '_' || c == '~';
    if (plain) {
      uri += c;
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned char>(c));
      uri += hex;
    }
  }
  return uri + "?mode=ro" + (fs::exists(path + "-shm") ? "" : "&immutable=1");
}

}  // namespace

std::string FilePathOf(const std::string& connection_string) {
  return Locate(connection_string).path;
}

SqliteBackend::SqliteBackend(const std::string& connection_string, OpenMode mode) {
  if (sqlite3_libversion_number() < kMinimumVersion) {
    throw Error(errc::kInvalidArgument,
                std::string("SQLite 3.39 or later is required, found ") + sqlite3_libversion());
  }
  const Location at = Locate(connection_string);
  const bool create = mode == OpenMode::Create;
  if (!create && !fs::exists(at.path)) {
    throw Error(SQLITE_CANTOPEN,
                "no database at " + at.path + " (kz8mrp init --db " + at.path + " creates one)",
                "SQLITE " + std::to_string(SQLITE_CANTOPEN), "open " + at.path);
  }
  const bool read_only = !create && CannotWrite(at.path);
  sqlite3* raw = nullptr;
  const int flags = SQLITE_OPEN_NOMUTEX |
                    (read_only ? SQLITE_OPEN_READONLY | SQLITE_OPEN_URI : SQLITE_OPEN_READWRITE) |
                    (create ? SQLITE_OPEN_CREATE : 0);
  const int rc =
      sqlite3_open_v2((read_only ? ReadOnlyUri(at.path) : at.path).c_str(), &raw, flags, nullptr);
  db_.reset(raw);
  if (rc != SQLITE_OK) Fail(raw, rc, "open " + at.path);
  sqlite3_extended_result_codes(raw, 1);
  sqlite3_busy_timeout(raw, at.wait_ms);
  if (!create) RequirePlant(at.path);
  if (!read_only) ExecuteScript(kSessionPragmas);
}

// Reading the catalog writes nothing: an empty file stays empty.
void SqliteBackend::RequirePlant(const std::string& path) {
  const std::string sql = std::string("SELECT 1 FROM sqlite_master WHERE type='table' AND name='") +
                          kPlantTable + "' COLLATE NOCASE";
  bool found = false;
  const auto seen = [](void* flag, int, char**, char**) {
    *static_cast<bool*>(flag) = true;
    return 0;
  };
  const int rc = sqlite3_exec(db_.get(), sql.c_str(), seen, &found, nullptr);
  if (rc != SQLITE_OK) Fail(db_.get(), rc, "open " + path);
  if (!found) {
    throw Error(SQLITE_NOTADB,
                path + " holds no plant (kz8mrp init --db " + path + " makes one there)",
                "SQLITE " + std::to_string(SQLITE_NOTADB), "open " + path);
  }
}

}  // namespace kz8mrp::db::sqlite
