#include "host/db/sqlite/SqliteError.h"

#include <kz8mrp/Error.h>

#include "host/db/Backend.h"

#include <sqlite3.h>

namespace kz8mrp::db::sqlite {

void Fail(sqlite3* db, int rc, const std::string& sql) {
  const int code = db ? sqlite3_extended_errcode(db) : rc;
  const std::string native = "SQLITE " + std::to_string(code);
  // Which statement waited or was refused is no news to a planner; why is.
  if ((code & 0xff) == SQLITE_BUSY) throw Error(code, kPlantBusy, native);
  if ((code & 0xff) == SQLITE_READONLY && db && sqlite3_db_readonly(db, "main") == 1) {
    throw Error(code,
                std::string("the plant at ") + sqlite3_db_filename(db, "main") +
                    " is open for reading only (this user cannot write its file or folder): "
                    "nothing can be changed in it",
                native);
  }
  throw Error(code, db ? sqlite3_errmsg(db) : sqlite3_errstr(rc), native, sql);
}

}  // namespace kz8mrp::db::sqlite
