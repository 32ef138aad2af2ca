// The tag database file Quelontrol.mdb (SQLite): create, import, list.
#pragma once

#include <filesystem>
#include <ostream>

#include "tool_error.h"

namespace queldb::tool {

// Every call waits for a database that another program has locked, up to
// the library's 5 seconds.

// Creates DIR/Quelontrol.mdb with the TagData and EnNumerations tables;
// refuses to overwrite an existing file, also one that another process
// creates at the same moment. On failure removes the file it made, no other.
void CreateTagDatabase(const std::filesystem::path& dir);
// Appends one row per CSV record; the header names TagData fields (any case).
// All rows or none: the header is checked before anything else, then every
// record (its field count, a number in each number field, naming the line)
// before any row is written. Returns the number of rows added.
int ImportTags(const std::filesystem::path& dir, const std::filesystem::path& csvFile);
// Throws unless the file is a database with a TagData table.
void CheckTagDatabase(const std::filesystem::path& file);
// Lists the tags: a readable table, or every field as CSV.
void ListTags(const std::filesystem::path& dir, bool asCsv, std::ostream& out);

}  // namespace queldb::tool
