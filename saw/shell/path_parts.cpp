#include "saw/shell/path_parts.h"

#include <algorithm>
#include <cctype>

namespace orl {
namespace {
constexpr std::string_view kSeparators = "\\/";
}

std::string FileNamePart(std::string_view path) {
  const auto last = path.find_last_of(kSeparators);
  return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::string WithForwardSlashes(std::string_view path) {
  std::string slashed(path);
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  return slashed;
}

std::string TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string FolderPart(std::string_view path) {
  const std::string trimmed = TrimBlanks(path);
  const auto last = trimmed.find_last_of(kSeparators);
  return last == std::string::npos ? std::string() : trimmed.substr(0, last + 1);
}

std::string WithTrailingSeparator(std::string_view folder) {
  std::string trimmed = TrimBlanks(folder);
  if (!trimmed.empty() && kSeparators.find(trimmed.back()) == std::string_view::npos) trimmed += '/';
  return trimmed;
}

bool IsAtOrUnder(std::string_view path, std::string_view folder) {
  const std::string outer = WithForwardSlashes(WithTrailingSeparator(folder));
  if (outer.empty()) return false;
  return WithForwardSlashes(WithTrailingSeparator(path)).compare(0, outer.size(), outer) == 0;
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

}  // namespace orl
