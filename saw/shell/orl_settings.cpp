#include "saw/shell/orl_settings.h"

#include <cstdlib>

#include <algorithm>
#include <filesystem>
#include <iostream>

#include "saw/shell/path_parts.h"
#include "saw/shell/text_number.h"
#include "saw/shell/user_settings.h"

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

namespace {

// The user's settings folder of an installed program, filled from the
// examples on first start; empty when the user has no home folder. A first
// start that cannot write its files says why and goes on: start-up then
// reports the missing settings file as always.
std::string InstalledSettingsFolder(const std::filesystem::path& examples) {
  const std::filesystem::path folder = UserSettingsFolder();
  if (folder.empty()) return {};
  try {
    const std::string told = SeedUserSettings(examples, folder, UserDataFolder());
    if (!told.empty()) std::cerr << told << std::endl;
  } catch (const std::filesystem::filesystem_error& error) {
    std::cerr << "Cannot set up the settings in " << folder.string() << ": " << error.what() << std::endl;
  }
  return WithTrailingSeparator(folder.string());
}

}  // namespace

std::string ChosenSettingsFolder(std::string_view programFolder, std::string_view commandLineFolder) {
  if (!TrimBlanks(commandLineFolder).empty()) return SettingsFolder(programFolder, commandLineFolder);
  const char* fromEnvironment = std::getenv(kSettingsFolderVariable);
  if (fromEnvironment && !TrimBlanks(fromEnvironment).empty()) return SettingsFolder(programFolder, fromEnvironment);
  const std::filesystem::path examples = InstalledExamplesFolder(std::string(programFolder));
  if (!examples.empty()) {
    std::string folder = InstalledSettingsFolder(examples);
    if (!folder.empty()) return folder;
  }
  return SettingsFolder(programFolder, "");
}

std::filesystem::path SettingsPath(std::string_view settingsFolder) {
  return std::filesystem::path(std::string(settingsFolder)) / kSettingsFileName;
}

}  // namespace orl
