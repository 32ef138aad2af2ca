#pragma once
// Texts cut to the room a cell has, without splitting a character.
#include <cstddef>
#include <string_view>

namespace orl {

// The longest prefix of `text` of at most `maxBytes` bytes that does not
// end inside a UTF-8 sequence.
std::string_view Utf8Prefix(std::string_view text, std::size_t maxBytes);

}  // namespace orl
