// Which reader an optimizer file gets.
#pragma once

#include <string_view>

#include "saw/optimizer/pat_cut.h"

namespace orl {

// By the upper-cased file name: "CPOUT" first, then ".SAW", then ".PTX";
// anything else is read as CSV cut records.
FileKind KindFromFileName(std::string_view fileName);

}  // namespace orl
