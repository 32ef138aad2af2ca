// Writes a pattern drawing as an SVG picture: the logical window becomes the
// view box (widened to hold the texts), the vertical axis grows downwards.
#pragma once

#include <string>

#include "saw/optimizer/display_list.h"

namespace orl {

std::string DisplayListToSvg(const DisplayList& list);

}  // namespace orl
