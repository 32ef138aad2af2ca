#include "saw/optimizer/svg_writer.h"

#include "saw/optimizer/drawing_frame.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace orl {

namespace {

constexpr float BaselineDrop = 0.8f;  // of the font size, from the top of a line of text

std::string Colour(PenColor color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(color & 0xFFFFFF));
  return text;
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        // Control characters are not allowed in XML text.
        if (static_cast<unsigned char>(c) >= 0x20) out += c;
    }
  }
  return out;
}

}  // namespace

std::string DisplayListToSvg(const DisplayList& list) {
  const DrawingBounds box = BoundsOf(list);
  const float strokeWidth = box.Size() / 400;
  std::ostringstream svg;
  svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" << box.left << ' ' << box.top << ' '
      << box.Width() << ' ' << box.Height() << "\" width=\"800\" height=\"800\">\n";
  svg << "<rect x=\"" << box.left << "\" y=\"" << box.top << "\" width=\"" << box.Width()
      << "\" height=\"" << box.Height() << "\" fill=\"" << Colour(kDrawingBackground) << "\"/>\n";
  std::string pen = Colour(PenBlack);
  float fontSize = DefaultTextSize(box);
  for (const DrawOp& op : list.Ops()) {
    if (const auto* p = std::get_if<draw::Pen>(&op)) {
      pen = Colour(p->Color);
    } else if (const auto* s = std::get_if<draw::TextSize>(&op)) {
      fontSize = TextSizeFor(box, s->Size);
    } else if (const auto* t = std::get_if<draw::Text>(&op)) {
      // The position is the text's top left corner; SVG places the baseline.
      svg << "<text x=\"" << t->X << "\" y=\"" << t->Y + BaselineDrop * fontSize << "\" font-size=\"" << fontSize
          << "\" fill=\"" << pen << "\" font-family=\"sans-serif\" xml:space=\"preserve\">"
          << Escaped(t->Value) << "</text>\n";
    } else if (const auto* l = std::get_if<draw::Line>(&op)) {
      svg << "<line x1=\"" << l->X1 << "\" y1=\"" << l->Y1 << "\" x2=\"" << l->X2 << "\" y2=\"" << l->Y2
          << "\" stroke=\"" << pen << "\" stroke-width=\"" << strokeWidth << "\"/>\n";
    } else if (const auto* r = std::get_if<draw::Rectangle>(&op)) {
      svg << "<rect x=\"" << std::min(r->X1, r->X2) << "\" y=\"" << std::min(r->Y1, r->Y2) << "\" width=\""
          << std::abs(r->X2 - r->X1) << "\" height=\"" << std::abs(r->Y2 - r->Y1) << "\" fill=\"none\" stroke=\""
          << pen << "\" stroke-width=\"" << strokeWidth << "\"/>\n";
    }
  }
  svg << "</svg>\n";
  return svg.str();
}

}  // namespace orl
