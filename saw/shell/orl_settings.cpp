#include "saw/shell/orl_settings.h"

#include <cstdlib>

#include <algorithm>

#include "saw/shell/path_parts.h"
#include "saw/shell/text_number.h"

namespace orl {

int CommPortSetting(std::string_view stored) {
  const double port = Val(stored);
  return (port < 1 || port > 4) ? 1 : RoundHalfEven(port);
}

std::string BaudRateSetting(std::string_view stored) {
  const double baud = Val(stored);
  return (baud < 300 || baud > 38400) ? std::string("9600") : TrimBlanks(stored);
}

std::string LineSettings(std::string_view baudRate) { return std::string(baudRate) + ",o,8,1"; }

bool AbsoluteModeSetting(std::string_view stored) { return UpperCase(stored) == "ABSOLUTE"; }

bool FlagSetting(std::string_view stored) { return Val(stored) != 0; }

int ColumnModeSetting(std::string_view stored) {
  const int mode = RoundHalfEven(Val(stored));
  return (mode >= 0 && mode <= 2) ? mode : 0;
}

int DecimalPlacesSetting(std::string_view stored) { return std::clamp(RoundHalfEven(Val(stored)), 1, 3); }

int MaxLogLenSetting(std::string_view stored) { return RoundHalfEven(Val(stored)); }

int ScanIntervalSetting(std::string_view stored, int fallback) {
  constexpr int kLongestIntervalMs = 10'000;
  const int ms = RoundHalfEven(Val(stored));
  return ms > 0 ? std::min(ms, kLongestIntervalMs) : fallback;
}

std::string SettingsFolder(std::string_view programFolder, std::string_view overrideFolder) {
  if (!TrimBlanks(overrideFolder).empty()) return WithTrailingSeparator(overrideFolder);
  if (programFolder.find("VB") != std::string_view::npos) return kDevelopmentFolder;
  return WithTrailingSeparator(programFolder);
}

std::string ChosenSettingsFolder(std::string_view programFolder, std::string_view commandLineFolder) {
  if (!TrimBlanks(commandLineFolder).empty()) return SettingsFolder(programFolder, commandLineFolder);
  const char* fromEnvironment = std::getenv(kSettingsFolderVariable);
  return SettingsFolder(programFolder, fromEnvironment ? fromEnvironment : "");
}

std::filesystem::path SettingsPath(std::string_view settingsFolder) {
  return std::filesystem::path(std::string(settingsFolder)) / kSettingsFileName;
}

}  // namespace orl
