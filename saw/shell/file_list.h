#pragma once
// A file list box as plain data: a folder, a pattern and the names it shows.
#include <string>
#include <vector>

#include "saw/shell/file_system.h"

namespace orl {

struct FileList {
  std::string folder;
  std::string pattern = "*.*";
  std::vector<std::string> entries;
  bool enabled = true;

  void Refresh(const FileSystem& fileSystem) { entries = fileSystem.ListFiles(folder, pattern); }
};

}  // namespace orl
