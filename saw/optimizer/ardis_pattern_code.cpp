#include "saw/optimizer/ardis_pattern_code.h"

#include <algorithm>

#include "saw/optimizer/eval_number.h"
#include "saw/optimizer/field_parser.h"
#include "saw/shell/text_number.h"

namespace orl {

namespace {

std::vector<std::string> SplitFields(FieldParser& scratch, std::string_view text, std::string_view separators) {
  scratch.SetLineText(text, separators);
  std::vector<std::string> fields;
  fields.reserve(static_cast<std::size_t>(scratch.FieldCount()));
  for (int i = 1; i <= scratch.FieldCount(); ++i) fields.emplace_back(scratch.Field(i));
  return fields;
}

int RepeatCount(std::string_view text) { return ToInt16(Val(text)); }

// "*k" after a level repeats that level k times, joined by "~" (which later
// becomes "/"); the count's digits leave the following group.
std::optional<std::string> RepeatGroups(std::vector<std::string> groups) {
  std::string text;
  for (std::size_t j = 0; j < groups.size(); ++j) {
    if (j + 1 < groups.size() && !groups[j + 1].empty() && groups[j + 1][0] == '*') {
      std::string& next = groups[j + 1];
      next.erase(0, 1);
      const int k = RepeatCount(next);
      if (k > 0 && (groups[j].size() + 1) * static_cast<std::size_t>(k) > MaxExpandedCodeLength) return std::nullopt;
      groups[j] = RepeatText(k, groups[j] + "~");
      const auto digits = std::find_if(next.begin(), next.end(), [](char c) { return c < '0' || c > '9'; });
      next.erase(next.begin(), digits);
    }
    text += groups[j];
    if (text.size() > MaxExpandedCodeLength) return std::nullopt;
    if (text.empty() || text.back() != '~') text += '/';
  }
  std::replace(text.begin(), text.end(), '~', '/');
  return text;
}

// "5*3" becomes "5,5,5," in place, the separators around it kept.
std::optional<std::string> RepeatItems(FieldParser& scratch, const std::string& text) {
  scratch.SetLineText(text, ",/");
  std::size_t grown = text.size();
  for (int i = scratch.FieldCount(); i >= 1; --i) {  // from the end, so earlier fields keep their numbers
    const std::string field(scratch.Field(i));
    const std::size_t star = field.find('*');
    if (star == std::string::npos) continue;
    const int k = RepeatCount(std::string_view(field).substr(star + 1));
    const std::string unit = field.substr(0, star) + ",";
    if (k > 0) grown += unit.size() * static_cast<std::size_t>(k);
    if (grown > MaxExpandedCodeLength) return std::nullopt;
    scratch.SetField(i, RepeatText(k, unit));
  }
  return std::string(scratch.LineText());
}

// Replaces every `from` by `to`, searching again from where the last
// replacement was put (so ",,," becomes ", ," and not ", , ").
void ReplaceFromLast(std::string& text, std::string_view from, std::string_view to) {
  std::size_t at = text.find(from);
  while (at != std::string::npos) {
    text.replace(at, from.size(), to);
    at = text.find(from, at + 1);
  }
}

void RemoveBlanks(std::string& text) { text.erase(std::remove(text.begin(), text.end(), ' '), text.end()); }

void Tidy(std::string& text) {
  std::replace(text.begin(), text.end(), '$', ' ');
  ReplaceFromLast(text, ",,", ", ");
  ReplaceFromLast(text, ",/", "/ ");
  RemoveBlanks(text);
  ReplaceFromLast(text, "//", "/ ");
  RemoveBlanks(text);
}

}  // namespace

std::optional<std::string> ExpandSection(std::string_view section, FieldParser& scratch) {
  auto grouped = RepeatGroups(SplitFields(scratch, section, "/"));
  if (!grouped) return std::nullopt;
  auto repeated = RepeatItems(scratch, *grouped);
  if (!repeated) return std::nullopt;
  Tidy(*repeated);
  return repeated;
}

std::optional<std::vector<PatternCodeItem>> ExpandPatternCode(std::string_view code, FieldParser& scratch) {
  std::vector<PatternCodeItem> items;
  std::size_t total = 0;
  for (const std::string& section : SplitFields(scratch, code, "+")) {
    auto text = ExpandSection(section, scratch);
    if (!text) return std::nullopt;
    total += text->size();
    if (total > MaxExpandedCodeLength) return std::nullopt;
    const std::vector<std::string> levels = SplitFields(scratch, *text, "/");
    for (std::size_t level = 0; level < levels.size(); ++level) {
      for (std::string& item : SplitFields(scratch, levels[level], ",")) {
        if (item.empty()) continue;  // not an item: a zero-length cut would end the cut list
        items.push_back({static_cast<int>(level + 1), std::move(item)});
      }
    }
  }
  return items;
}

}  // namespace orl
