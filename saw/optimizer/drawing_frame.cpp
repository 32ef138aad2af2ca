#include "saw/optimizer/drawing_frame.h"

#include <algorithm>

namespace orl {
namespace {

constexpr float kPointsPerWindow = 500;
constexpr float kDefaultTextPart = 60;  // of the window's size
constexpr float kLeastTextPart = 80;

}  // namespace

DrawingBounds BoundsOf(const DisplayList& list) {
  DrawingBounds box;
  bool windowSeen = false;
  for (const DrawOp& op : list.Ops()) {
    if (const auto* w = std::get_if<draw::Window>(&op)) {
      box = {w->Left, w->Top, w->Left + w->Width, w->Top + w->Height};
      windowSeen = true;
    } else if (const auto* t = std::get_if<draw::Text>(&op); t && windowSeen) {
      box.left = std::min(box.left, t->X);
      box.top = std::min(box.top, t->Y);
      box.right = std::max(box.right, t->X);
      box.bottom = std::max(box.bottom, t->Y);
    }
  }
  return box;
}

float DefaultTextSize(const DrawingBounds& bounds) { return bounds.Size() / kDefaultTextPart; }

float TextSizeFor(const DrawingBounds& bounds, float points) {
  return std::max(bounds.Size() * points / kPointsPerWindow, bounds.Size() / kLeastTextPart);
}

}  // namespace orl
