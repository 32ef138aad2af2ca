#pragma once
// The platform's system-information program, offered by the about box: the
// first of a few known programs found on the search path.
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "saw/shell/ui.h"

namespace orl {

inline constexpr const char* kSystemInfoUnavailable = "System Information Is Unavailable At This Time";

// In order of preference.
inline constexpr std::array<const char*, 3> kSystemInfoPrograms = {"hardinfo", "kinfocenter", "gnome-system-monitor"};

// The full path of a program found on the search path, or empty text.
using FindOnPath = std::function<std::string(const std::string& name)>;
// Starts a program without a shell; false when it could not be started.
using StartProgram = std::function<bool(const std::string& path)>;

// The first of kSystemInfoPrograms that find locates, as find returns it.
std::optional<std::string> SystemInfoProgram(const FindOnPath& find);

// Starts the system-information program. When none is found or its start
// fails, the operator gets kSystemInfoUnavailable in a plain box (no icon)
// titled title, and nothing else happens.
void ShowSystemInfo(Ui& ui, const std::string& title, const FindOnPath& find, const StartProgram& start);

}  // namespace orl
