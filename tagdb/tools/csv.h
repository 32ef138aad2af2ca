// CSV as RFC 4180 writes it: quoted fields may hold commas, quotes ("") and line breaks.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace queldb::tool {

using CsvRow = std::vector<std::string>;

// Every record of the stream; nullopt when a quoted field is never closed.
std::optional<std::vector<CsvRow>> ReadCsv(std::istream& in);
// The field quoted when it needs to be.
std::string CsvField(const std::string& text);

}  // namespace queldb::tool
