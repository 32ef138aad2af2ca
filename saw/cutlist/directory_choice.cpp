#include "saw/cutlist/directory_choice.h"

#include <filesystem>
#include <system_error>

#include "saw/shell/path_parts.h"

namespace orl {
namespace fs = std::filesystem;

namespace {

std::string WithoutTrailingSeparator(fs::path folder) {
  std::string text = folder.lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

}  // namespace

std::string ChooserStartFolder(std::string_view dirBoxPath) {
  std::error_code error;
  const fs::path current = fs::current_path(error);
  const std::string given = WithForwardSlashes(TrimBlanks(dirBoxPath));
  if (!given.empty()) {
    const fs::path folder = fs::path(given).is_absolute() ? fs::path(given) : current / given;
    if (fs::is_directory(folder, error)) return WithoutTrailingSeparator(folder);
  }
  return WithoutTrailingSeparator(current.empty() ? fs::path("/") : current);
}

std::optional<std::string> NewFolderName(std::string_view typed) {
  std::string name = TrimBlanks(typed);
  if (name.empty() || name == "." || name == "..") return std::nullopt;
  if (name.find_first_of("/\\") != std::string::npos) return std::nullopt;
  return name;
}

}  // namespace orl
