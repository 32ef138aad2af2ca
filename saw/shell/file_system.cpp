#include "saw/shell/file_system.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "saw/shell/path_parts.h"

namespace orl {
namespace fs = std::filesystem;
namespace {

// Iterative glob match with one back-track point: linear in practice and
// never recursive, whatever the pattern.
bool GlobMatch(std::string_view name, std::string_view glob) {
  std::size_t n = 0, g = 0, starGlob = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (g < glob.size() && (glob[g] == '?' || glob[g] == name[n])) {
      ++n, ++g;
    } else if (g < glob.size() && glob[g] == '*') {
      starGlob = g++;
      starName = n;
    } else if (starGlob != std::string_view::npos) {
      g = starGlob + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (g < glob.size() && glob[g] == '*') ++g;
  return g == glob.size();
}

template <typename Keep>
std::vector<std::string> ListEntries(const std::string& folder, Keep keep) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(WithForwardSlashes(folder), error), end; !error && it != end; it.increment(error)) {
    if (keep(*it)) names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The mount table writes a blank, tab, line end or backslash in a folder
// name as a backslash and three octal digits.
std::string UnescapedMountPoint(const std::string& field) {
  std::string point;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const bool octal = field[i] == '\\' && i + 3 < field.size() &&
                       std::all_of(field.begin() + i + 1, field.begin() + i + 4, [](char c) { return c >= '0' && c <= '7'; });
    if (octal) {
      point += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
      i += 3;
    } else {
      point += field[i];
    }
  }
  return point;
}

}  // namespace

bool MatchesFilePattern(const std::string& name, const std::string& pattern) {
  const std::string upperName = UpperCase(name);
  const std::string upperPattern = UpperCase(pattern);
  std::size_t start = 0;
  while (start <= upperPattern.size()) {
    const std::size_t end = std::min(upperPattern.find(';', start), upperPattern.size());
    const std::string glob = TrimBlanks(std::string_view(upperPattern).substr(start, end - start));
    // As in the file dialogs, "*.*" also lists names without an extension.
    if (glob == "*.*" || (!glob.empty() && GlobMatch(upperName, glob))) return true;
    start = end + 1;
  }
  return false;
}

bool RealFileSystem::FileExists(const std::string& path) const {
  std::error_code error;
  return !path.empty() && fs::is_regular_file(WithForwardSlashes(path), error);
}

bool RealFileSystem::FolderExists(const std::string& path) const {
  std::error_code error;
  return !TrimBlanks(path).empty() && fs::is_directory(WithForwardSlashes(TrimBlanks(path)), error);
}

std::vector<std::string> RealFileSystem::MountPoints() const {
  std::vector<std::string> points;
  std::ifstream table(mountTable_);
  for (std::string device, point, rest; table >> device >> point && std::getline(table, rest);)
    points.push_back(UnescapedMountPoint(point));
  return points;
}

std::vector<std::string> RealFileSystem::ListFiles(const std::string& folder, const std::string& pattern) const {
  return ListEntries(folder, [&](const fs::directory_entry& entry) {
    std::error_code error;
    const std::string name = entry.path().filename().string();
    // Hidden files (a save's temporary among them) are not listed, as a
    // file list box does not list them.
    return name.front() != '.' && entry.is_regular_file(error) && MatchesFilePattern(name, pattern);
  });
}

std::vector<std::string> RealFileSystem::ListFolders(const std::string& folder) const {
  return ListEntries(folder, [](const fs::directory_entry& entry) {
    std::error_code error;
    return entry.is_directory(error);
  });
}

}  // namespace orl
