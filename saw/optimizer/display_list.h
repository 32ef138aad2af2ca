// The pattern drawing as a list of drawing operations in the file's units,
// so the desktop program can paint it and orl-tool can write it as SVG.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace orl {

using PenColor = std::uint32_t;  // 0xRRGGBB
inline constexpr PenColor PenBlack = 0x000000;
inline constexpr PenColor PenGreen = 0x00FF00;
inline constexpr PenColor PenMagenta = 0xFF00FF;
inline constexpr PenColor PenBlue = 0x0000FF;
inline constexpr PenColor PenWhite = 0xFFFFFF;

namespace draw {
struct Window {  // logical window: origin and size
  float Left = 0, Top = 0, Width = 0, Height = 0;
};
struct Pen {
  PenColor Color = PenBlack;
};
struct TextSize {
  float Size = 0;
};
struct Text {
  float X = 0, Y = 0;
  std::string Value;
};
struct Line {
  float X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};
struct Rectangle {
  float X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};
}  // namespace draw

using DrawOp = std::variant<draw::Window, draw::Pen, draw::TextSize, draw::Text, draw::Line, draw::Rectangle>;

class DisplayList {
 public:
  // A pattern that asks for more lines than this is drawn only in part.
  static constexpr std::size_t MaxOps = 200'000;

  void Clear() {
    ops_.clear();
    full_ = false;
  }
  // False once the list is full; the operation is then dropped.
  bool Add(DrawOp op);
  bool Full() const { return full_; }
  const std::vector<DrawOp>& Ops() const { return ops_; }

 private:
  std::vector<DrawOp> ops_;
  bool full_ = false;
};

}  // namespace orl
