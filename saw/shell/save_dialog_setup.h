#pragma once
// How the platform's save dialog is set up from what the engine asks for:
// an initial file (possibly a wildcard name such as "folder/*.*") and a
// filter of "Description|patterns" pairs joined by '|'.
#include <string>
#include <string_view>
#include <vector>

namespace orl {

struct SaveDialogSetup {
  std::string folder;    // where the dialog opens; empty: the current folder
  std::string fileName;  // the proposed name; empty when the initial name is a wildcard
  // One "Description (pattern pattern)" per pair of the filter.
  std::vector<std::string> filters;
  bool operator==(const SaveDialogSetup&) const = default;
};

// Names here need no extension, so "*.*" stands for every file ("*").
// A description's own trailing "(...)" is replaced by the patterns that
// follow it; several patterns (';'-separated) are listed with blanks. A
// pair without a description shows its patterns alone; an empty filter
// gives one filter for every file.
SaveDialogSetup SaveDialogSetupFor(std::string_view initialFile, std::string_view filter);

}  // namespace orl
