// Which reader an optimizer file gets, and which files the job folder lists.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "saw/optimizer/pat_cut.h"

namespace orl {

// By the upper-cased file name: "CPOUT" first, then ".SAW", then ".PTX";
// anything else is read as CSV cut records.
FileKind KindFromFileName(std::string_view fileName);

// Whether the optimizer file list shows the file: CPOut.*, *.CSV, *.PTX and
// *.SAW, in any letter case.
bool IsOptimizerFileName(std::string_view fileName);

// The optimizer files of a folder, sorted by name; empty when the folder
// cannot be read.
std::vector<std::string> ListOptimizerFiles(const std::string& folder);

}  // namespace orl
