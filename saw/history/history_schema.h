#pragma once
// The layout of the history file and the version it carries in
// `PRAGMA user_version`, so a later program can tell which layout a file has.
#include "saw/history/sqlite_connection.h"

namespace orl {

inline constexpr int kHistorySchemaVersion = 1;

// The columns of a record, in the order the statements below read and bind them.
inline constexpr const char* kCutColumns =
    "seq, time_ms, kind, program, description, cut_group, cell_row, cell_column, target, length, unit, new_board, "
    "groove, book, part";

// Creates the layout in a new file; accepts a file of this version; throws
// for a newer version or a database that holds something else.
void PrepareHistorySchema(const SqliteConnection& connection);
// Throws unless the file holds a history of a version this program reads.
void CheckHistorySchema(const SqliteConnection& connection);

}  // namespace orl
