#include "saw/shell/save_dialog_setup.h"

#include "saw/shell/path_parts.h"

namespace orl {
namespace {

constexpr std::string_view kEveryFile = "*";

std::vector<std::string> SplitAt(std::string_view text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    parts.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

bool HasWildcard(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

std::string WithoutTrailingParentheses(std::string_view description) {
  std::string text = TrimBlanks(description);
  if (!text.empty() && text.back() == ')') {
    const std::size_t open = text.rfind('(');
    if (open != std::string::npos) text = TrimBlanks(std::string_view(text).substr(0, open));
  }
  return text;
}

std::string PatternList(std::string_view patterns) {
  std::string list;
  for (const std::string& part : SplitAt(patterns, ';')) {
    std::string pattern = TrimBlanks(part);
    if (pattern.empty()) continue;
    if (pattern == "*.*") pattern = kEveryFile;
    if (!list.empty()) list += ' ';
    list += pattern;
  }
  return list.empty() ? std::string(kEveryFile) : list;
}

std::string FilterEntry(std::string_view description, std::string_view patterns) {
  const std::string name = WithoutTrailingParentheses(description);
  const std::string list = PatternList(patterns);
  return name.empty() ? list : name + " (" + list + ")";
}

}  // namespace

SaveDialogSetup SaveDialogSetupFor(std::string_view initialFile, std::string_view filter) {
  SaveDialogSetup setup;
  setup.folder = FolderPart(initialFile);
  const std::string name = FileNamePart(TrimBlanks(initialFile));
  if (!HasWildcard(name)) setup.fileName = name;
  const std::vector<std::string> parts = SplitAt(filter, '|');
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) setup.filters.push_back(FilterEntry(parts[i], parts[i + 1]));
  if (setup.filters.empty()) setup.filters.push_back(FilterEntry("", kEveryFile));
  return setup;
}

}  // namespace orl
