#include "saw/shell/system_info.h"

namespace orl {

std::optional<std::string> SystemInfoProgram(const FindOnPath& find) {
  for (const char* name : kSystemInfoPrograms) {
    std::string path = find(name);
    if (!path.empty()) return path;
  }
  return std::nullopt;
}

void ShowSystemInfo(Ui& ui, const std::string& title, const FindOnPath& find, const StartProgram& start) {
  const auto program = SystemInfoProgram(find);
  if (program && start(*program)) return;
  ui.ShowMessage(kSystemInfoUnavailable, MessageIcon::None, title);
}

}  // namespace orl
