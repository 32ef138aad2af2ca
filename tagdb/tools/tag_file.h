// The tag database file Quelontrol.mdb (SQLite): create, import, list.
#pragma once

#include <filesystem>
#include <ostream>

#include "tool_error.h"

namespace queldb::tool {

// Creates DIR/Quelontrol.mdb with the TagData and EnNumerations tables;
// refuses to overwrite an existing file.
void CreateTagDatabase(const std::filesystem::path& dir);
// Appends one row per CSV record; the header names TagData fields (any case).
// All rows or none. Reads record by record and checks the header before
// anything else. Returns the number of rows added.
int ImportTags(const std::filesystem::path& dir, const std::filesystem::path& csvFile);
// Lists the tags: a readable table, or every field as CSV.
void ListTags(const std::filesystem::path& dir, bool asCsv, std::ostream& out);

}  // namespace queldb::tool
