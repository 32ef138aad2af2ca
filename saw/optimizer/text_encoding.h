// Texts of optimizer files as valid UTF-8. Optimizers on Windows write
// Windows-1252, whose accented letters and signs are no valid UTF-8; such a
// text is read as Windows-1252, so every text handed on is valid UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace orl {

bool IsValidUtf8(std::string_view text);

// Appends `text` as it is when it is valid UTF-8, else read as Windows-1252
// (its five unassigned bytes become U+FFFD).
void AppendNonAsciiAsUtf8(std::string& out, std::string_view text);

// The checks below are inline: nearly every text of a file is short ASCII,
// and a call would cost more than the check.

inline bool IsAscii(std::string_view text) {
  unsigned char seen = 0;
  for (const char c : text) seen |= static_cast<unsigned char>(c);
  return seen < 0x80;
}

inline void AppendAsUtf8(std::string& out, std::string_view text) {
  if (IsAscii(text)) [[likely]]
    out += text;
  else
    AppendNonAsciiAsUtf8(out, text);
}

// Copies `size` bytes to `to`; true when they all are ASCII (and so valid
// UTF-8). Checking while copying makes the check of a text that is kept
// anyway cost next to nothing.
inline bool CopyAscii(char* to, const char* from, std::size_t size) {
  std::uint64_t seen = 0;
  if (size < sizeof seen) {
    for (std::size_t i = 0; i < size; ++i) seen |= static_cast<unsigned char>(to[i] = from[i]);
    return seen < 0x80;
  }
  // Eight at a time; the last word may overlap the one before.
  for (std::size_t i = 0;; i += sizeof seen) {
    if (i + sizeof seen > size) i = size - sizeof seen;
    std::uint64_t word = 0;
    std::memcpy(&word, from + i, sizeof word);
    std::memcpy(to + i, &word, sizeof word);
    seen |= word;
    if (i + sizeof seen == size) break;
  }
  return (seen & 0x8080808080808080u) == 0;
}

}  // namespace orl
