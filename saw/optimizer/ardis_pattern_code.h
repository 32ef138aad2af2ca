// Expansion of an Ardis pattern code such as "1,2*2/3+4/5!" into its items,
// level by level: "+" separates sections (levels restart at 1 in each), "/"
// separates levels, "," items; "*k" repeats an item or a whole level k times,
// "!" marks an item cut turned.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orl {

class FieldParser;

struct PatternCodeItem {
  int Level = 0;     // from 1 within its section
  std::string Item;  // e.g. "7!"
};

// A code that would expand past this many characters is refused.
inline constexpr std::size_t MaxExpandedCodeLength = 64 * 1024;

// The items of the code in file order (section by section, level by level);
// nullopt when the expansion would grow past MaxExpandedCodeLength.
// `scratch` is the field parser used to split the texts.
std::optional<std::vector<PatternCodeItem>> ExpandPatternCode(std::string_view code, FieldParser& scratch);

// One section's text after the repeats are written out, before it is split
// into levels ("10/20/*3/30" gives "10/20/20/20/30/"); nullopt when too long.
std::optional<std::string> ExpandSection(std::string_view section, FieldParser& scratch);

}  // namespace orl
