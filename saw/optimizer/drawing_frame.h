// How a pattern drawing is framed wherever it is shown (the window's
// preview, the SVG picture): the ground it is drawn on, the part of the
// logical plane shown, and the size of its texts.
#pragma once

#include "saw/optimizer/display_list.h"

namespace orl {

// Mid grey, so that both the black board and the white highlighted step show.
inline constexpr PenColor kDrawingBackground = 0x808080;

struct DrawingBounds {
  float left = 0, top = 0, right = 1, bottom = 1;
  float Width() const { return right - left; }
  float Height() const { return bottom - top; }
  // The longer side: text sizes and stroke widths are parts of it.
  float Size() const { return Width() > Height() ? Width() : Height(); }
};

// The drawing's logical window, grown to hold every text's top left corner
// (the unit square when the drawing sets no window).
DrawingBounds BoundsOf(const DisplayList& list);

// Text sizes in logical units: before any size is set, and for a size the
// drawing gives in points of the operator's screen (a window is taken to be
// 500 points across), never below a readable least.
float DefaultTextSize(const DrawingBounds& bounds);
float TextSizeFor(const DrawingBounds& bounds, float points);

}  // namespace orl
