#include "saw/cutlist/cell_text.h"

namespace orl {
namespace {

bool ContinuesSequence(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

}  // namespace

std::string_view Utf8Prefix(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  // The byte after the prefix continues a character: that character goes
  // too. A character spans at most four bytes, so text that is not UTF-8
  // loses no more than three.
  constexpr std::size_t kMaxContinuationBytes = 3;
  std::size_t end = maxBytes;
  while (end > 0 && maxBytes - end < kMaxContinuationBytes && ContinuesSequence(text[end])) --end;
  return text.substr(0, end);
}

}  // namespace orl
