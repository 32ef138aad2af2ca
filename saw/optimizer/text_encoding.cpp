#include "saw/optimizer/text_encoding.h"

#include <cstdint>
#include <cstring>

namespace orl {

namespace {
constexpr char32_t Replacement = 0xFFFD;
// Windows-1252 0x80..0x9F; 0xA0..0xFF are the code points of the same value.
constexpr char32_t HighControls[32] = {
    0x20AC, Replacement, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, Replacement, 0x017D, Replacement, Replacement, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, Replacement, 0x017E, 0x0178};

bool WordIsAscii(const unsigned char* p) {
  std::uint64_t word = 0;
  std::memcpy(&word, p, sizeof word);
  return (word & 0x8080808080808080u) == 0;
}

// Length of the UTF-8 sequence at `p` (before `end`), 0 when it is none:
// stray or missing continuation bytes, overlong forms, surrogates and
// code points past U+10FFFF are not UTF-8.
std::size_t SequenceLength(const unsigned char* p, const unsigned char* end) {
  const unsigned lead = *p;
  std::size_t continuations = 0;
  char32_t point = 0, least = 0;
  if ((lead & 0xE0) == 0xC0) {
    continuations = 1, point = lead & 0x1F, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    continuations = 2, point = lead & 0x0F, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    continuations = 3, point = lead & 0x07, least = 0x10000;
  } else {
    return 0;
  }
  if (static_cast<std::size_t>(end - p) <= continuations) return 0;
  for (std::size_t i = 1; i <= continuations; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
    point = point << 6 | (p[i] & 0x3F);
  }
  if (point < least || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return 0;
  return continuations + 1;
}

// Two or three bytes: Windows-1252 gives code points from U+0080 to U+FFFD.
void AppendCodePoint(std::string& out, char32_t point) {
  if (point < 0x800) {
    out += static_cast<char>(0xC0 | point >> 6);
  } else {
    out += static_cast<char>(0xE0 | point >> 12);
    out += static_cast<char>(0x80 | (point >> 6 & 0x3F));
  }
  out += static_cast<char>(0x80 | (point & 0x3F));
}
}  // namespace

bool IsValidUtf8(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = p + text.size();
  while (p < end) {
    if (end - p >= 8 && WordIsAscii(p)) {  // the usual text: plain ASCII, eight at a time
      p += 8;
    } else if (*p < 0x80) {
      ++p;
    } else {
      const std::size_t length = SequenceLength(p, end);
      if (length == 0) return false;
      p += length;
    }
  }
  return true;
}

void AppendNonAsciiAsUtf8(std::string& out, std::string_view text) {
  if (IsValidUtf8(text)) {
    out += text;
    return;
  }
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80)
      out += c;
    else
      AppendCodePoint(out, byte < 0xA0 ? HighControls[byte - 0x80] : byte);
  }
}

}  // namespace orl
