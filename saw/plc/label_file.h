#pragma once
// The label file: one book label per line, appended as the parts are cut,
// started afresh once it has grown past kLabelFileLimit bytes.
#include <cstdint>
#include <string>

namespace orl {

inline constexpr std::uintmax_t kLabelFileLimit = 30000;

// A usable file name: a non-empty name part and no wildcard, quote, pipe,
// angle bracket or control character.
bool IsValidFileName(const std::string& path);

// Appends label and a line end; a file already longer than the limit is
// emptied first. Either separator may be used in path. The line is written
// whole or not at all: a write cut short (a full disk) is cut off again and
// false is answered, as it is when the file cannot be opened.
bool AppendBookLabel(const std::string& path, const std::string& label);

}  // namespace orl
