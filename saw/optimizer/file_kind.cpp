#include "saw/optimizer/file_kind.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "saw/shell/path_parts.h"

namespace orl {

FileKind KindFromFileName(std::string_view fileName) {
  const std::string upper = UpperCase(fileName);
  if (upper.find("CPOUT") != std::string::npos) return FileKind::CpOut;
  if (upper.find(".SAW") != std::string::npos) return FileKind::Ardis;
  if (upper.find(".PTX") != std::string::npos) return FileKind::Ptx;
  return FileKind::Csv;
}

bool IsOptimizerFileName(std::string_view fileName) {
  const std::string upper = UpperCase(fileName);
  auto endsWith = [&](std::string_view tail) {
    return upper.size() >= tail.size() && upper.compare(upper.size() - tail.size(), tail.size(), tail) == 0;
  };
  // "CPOut.*" wants the name CPOUT followed by a dot and any extension.
  return upper.rfind("CPOUT.", 0) == 0 || endsWith(".CSV") || endsWith(".PTX") || endsWith(".SAW");
}

std::vector<std::string> ListOptimizerFiles(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (!it->is_regular_file(error)) continue;
    std::string name = it->path().filename().string();
    if (IsOptimizerFileName(name)) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace orl
