// The fields of a tag row (table TagData): their names, kinds and the values
// a new tag starts with, and what a numeric field takes. The tool creates
// the table and imports rows from this list, and the tag editor adds a new
// row and checks its text boxes against it. Header only: the widgets
// library uses the engine through the public API and these constants.
#pragma once

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

namespace queldb {

enum class FieldKind { Key, Integer, Real, Text };

struct TagField {
  std::string_view name;
  FieldKind kind;
  // What a new tag holds (empty: Null). For a number field it is the
  // table's default too, so an import may leave it out; a text field has no
  // table default, so an imported row without an address keeps none rather
  // than pointing at the new tag's 40001.
  std::string_view newTagValue;
};

inline constexpr std::array<TagField, 34> kTagFields = {{
    {"ID", FieldKind::Key, ""},
    {"NAME", FieldKind::Text, ""},
    {"REGAB", FieldKind::Text, "40001"},
    {"REG", FieldKind::Text, "40001"},
    {"VAL", FieldKind::Text, ""},
    {"DataType", FieldKind::Text, ""},
    {"Scale", FieldKind::Real, "1"},
    {"Offset", FieldKind::Real, "0"},
    {"Units", FieldKind::Text, ""},
    {"Desc", FieldKind::Text, ""},
    {"LOG", FieldKind::Integer, "0"},
    {"LogIntv", FieldKind::Integer, "0"},
    {"LogDeadband", FieldKind::Real, "0"},
    {"ALARMS", FieldKind::Integer, "0"},
    {"Descrete", FieldKind::Integer, ""},
    {"Binary", FieldKind::Integer, ""},
    {"BIT", FieldKind::Integer, "-1"},
    {"bit_invert", FieldKind::Integer, ""},
    {"HHiLim", FieldKind::Real, "100"},
    {"HiLim", FieldKind::Real, "99"},
    {"LoLim", FieldKind::Real, "0"},
    {"LLoLim", FieldKind::Real, "0"},
    {"MESS", FieldKind::Text, ""},
    {"MESSLIST", FieldKind::Integer, "1"},
    {"ALMPRIORITY", FieldKind::Integer, "1"},
    {"ALMSCREEN", FieldKind::Integer, "1"},
    {"ALMGROUP", FieldKind::Integer, "1"},
    {"ALMACTIVE", FieldKind::Integer, "1"},
    {"ALMHIST", FieldKind::Integer, "0"},
    {"Dependency", FieldKind::Integer, ""},
    {"DependencyAddress", FieldKind::Text, ""},
    {"DependencyBinary", FieldKind::Integer, ""},
    {"DependencyBit", FieldKind::Integer, ""},
    {"DependencyBitInvert", FieldKind::Integer, ""},
}};

// The text without the blanks (spaces, tabs) around it.
inline std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The field of that name, any letter case; nullptr when the row has none.
inline const TagField* FindTagField(std::string_view name) {
  const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  for (const TagField& field : kTagFields) {
    if (field.name.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; same && i < name.size(); ++i) same = upper(field.name[i]) == upper(name[i]);
    if (same) return &field;
  }
  return nullptr;
}

// Whether a field of this kind takes the text: an empty text (Null) always;
// an integer field a whole number, a real field a number (point, exponent);
// a text field anything. Blanks around the number are allowed.
inline bool FieldTakesText(FieldKind kind, std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty() || kind == FieldKind::Text) return true;
  if (text.front() == '+') text.remove_prefix(1);
  const char* end = text.data() + text.size();
  if (kind == FieldKind::Real) {
    double value = 0;
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
  }
  std::int64_t value = 0;
  const auto result = std::from_chars(text.data(), end, value);
  return result.ec == std::errc() && result.ptr == end;
}

}  // namespace queldb
