#pragma once
// Path splitting for paths read from files and settings: both '\' and '/'
// separate folders.
#include <string>
#include <string_view>

namespace orl {

// The part after the last separator; the whole path when it holds none.
std::string FileNamePart(std::string_view path);

// Blanks trimmed from both ends, then the part up to and including the last
// separator; empty when there is none.
std::string FolderPart(std::string_view path);

// Blanks trimmed from both ends and a '/' added unless the text already ends
// in a separator (an empty text stays empty).
std::string WithTrailingSeparator(std::string_view folder);

// The path with every '\' turned into '/', as the file system takes it.
std::string WithForwardSlashes(std::string_view path);

// Whether path is folder or lies below it (either separator counts, letter
// case does; blanks around both are ignored). An empty folder holds nothing.
bool IsAtOrUnder(std::string_view path, std::string_view folder);

// Blanks removed from both ends.
std::string TrimBlanks(std::string_view text);

// Upper-cased copy (ASCII).
std::string UpperCase(std::string_view text);

}  // namespace orl
