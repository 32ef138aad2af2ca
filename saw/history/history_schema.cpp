#include "saw/history/history_schema.h"

#include <string>

namespace orl {
namespace {

// AUTOINCREMENT: a removed record's number is never given again, so the
// plant never sees one seq for two records.
constexpr const char* kCreateSchema = R"sql(
CREATE TABLE cuts (
  seq INTEGER PRIMARY KEY AUTOINCREMENT,
  time_ms INTEGER NOT NULL,
  kind TEXT NOT NULL,
  program TEXT NOT NULL,
  description TEXT NOT NULL,
  cut_group INTEGER NOT NULL,
  cell_row INTEGER NOT NULL,
  cell_column INTEGER NOT NULL,
  target INTEGER NOT NULL,
  length TEXT NOT NULL,
  unit TEXT NOT NULL,
  new_board INTEGER NOT NULL,
  groove INTEGER NOT NULL,
  book TEXT NOT NULL,
  part TEXT NOT NULL
);
CREATE INDEX cuts_by_time ON cuts(time_ms);
)sql";

void CheckVersion(const SqliteConnection& connection, std::int64_t version) {
  if (version > kHistorySchemaVersion)
    throw HistoryError(connection.File(), "written by a newer program (layout " + std::to_string(version) + ")");
}

std::int64_t Version(const SqliteConnection& connection) {
  return connection.QueryInteger("PRAGMA user_version");
}

bool HoldsTables(const SqliteConnection& connection) {
  return connection.QueryInteger("SELECT count(*) FROM sqlite_master") > 0;
}

}  // namespace

void PrepareHistorySchema(const SqliteConnection& connection) {
  // IMMEDIATE: two writers starting on a new file do not both create it.
  connection.Execute("BEGIN IMMEDIATE");
  try {
    const std::int64_t version = Version(connection);
    CheckVersion(connection, version);
    if (version == 0) {
      if (HoldsTables(connection)) throw HistoryError(connection.File(), "not a history file");
      connection.Execute(kCreateSchema);
      connection.Execute("PRAGMA user_version = " + std::to_string(kHistorySchemaVersion));
    }
    connection.Execute("COMMIT");
  } catch (...) {
    sqlite3_exec(connection.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

void CheckHistorySchema(const SqliteConnection& connection) {
  const std::int64_t version = Version(connection);
  CheckVersion(connection, version);
  if (version == 0) throw HistoryError(connection.File(), "not a history file");
}

}  // namespace orl
