// Owning handles for SQLite connections and statements.
#pragma once

#include <sqlite3.h>

#include <memory>

namespace queldb {

struct DatabaseCloser {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StatementCloser {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using DatabaseHandle = std::unique_ptr<sqlite3, DatabaseCloser>;
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementCloser>;

// Opens with the flags; an empty handle when it fails.
inline DatabaseHandle OpenDatabase(const char* file, int flags) {
  sqlite3* raw = nullptr;
  int result = sqlite3_open_v2(file, &raw, flags, nullptr);
  DatabaseHandle db(raw);
  if (result != SQLITE_OK) db.reset();
  return db;
}

// An empty handle when the SQL does not prepare.
inline StatementHandle Prepare(sqlite3* db, const char* sql) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) {
    sqlite3_finalize(raw);
    return StatementHandle();
  }
  return StatementHandle(raw);
}

}  // namespace queldb
