#include "saw/shell/user_settings.h"

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "saw/shell/atomic_file.h"
#include "saw/shell/orl_settings.h"
#include "saw/shell/path_parts.h"

namespace orl {
namespace fs = std::filesystem;
namespace {

// The [System] keys that name a folder or file, relative to ORL.INI's folder
// in the examples.
constexpr const char* kPathKeys[] = {key::kJobPath, key::kProgramPath, key::kArdisPath, key::kPrintPath};

// The folder an XDG base-directory variable names (only an absolute path
// counts), else the given folder below the home folder.
fs::path BaseFolder(const char* variable, const char* belowHome) {
  const char* named = std::getenv(variable);
  if (named && fs::path(named).is_absolute()) return fs::path(named) / "orl";
  const char* home = std::getenv("HOME");
  if (home && *home) return fs::path(home) / belowHome / "orl";
  return {};
}

// The relative path a settings line gives one of kPathKeys, or empty.
std::string RelativePathValue(const std::string& line) {
  const auto equals = line.find('=');
  if (equals == std::string::npos) return {};
  const std::string key = TrimBlanks(std::string_view(line).substr(0, equals));
  const std::string value = TrimBlanks(std::string_view(line).substr(equals + 1));
  for (const char* pathKey : kPathKeys)
    if (key == pathKey && !value.empty() && fs::path(value).is_relative()) return value;
  return {};
}

}  // namespace

fs::path InstalledExamplesFolder(const fs::path& programFolder) {
  const fs::path examples = (programFolder / ".." / "share" / "orl" / "examples").lexically_normal();
  std::error_code error;
  return fs::is_regular_file(examples / kSettingsFileName, error) ? examples : fs::path();
}

fs::path UserSettingsFolder() { return BaseFolder("XDG_CONFIG_HOME", ".config"); }

fs::path UserDataFolder() { return BaseFolder("XDG_DATA_HOME", ".local/share"); }

std::string SeedUserSettings(const fs::path& examples, const fs::path& settingsFolder, const fs::path& dataFolder) {
  const fs::path settingsFile = settingsFolder / kSettingsFileName;
  if (fs::exists(settingsFile)) return {};

  std::ifstream in(examples / kSettingsFileName, std::ios::binary);
  if (!in) throw fs::filesystem_error("cannot read", examples / kSettingsFileName, std::make_error_code(std::errc::io_error));
  std::ostringstream settings;
  std::set<std::string> named;
  for (std::string line; std::getline(in, line);) {
    const std::string relative = RelativePathValue(line);
    if (!relative.empty()) {
      named.insert(relative);
      line = line.substr(0, line.find('=') + 1) + (dataFolder / relative).string();
    }
    settings << line << '\n';
  }

  fs::create_directories(dataFolder);
  for (const std::string& relative : named)
    if (fs::is_directory(examples / relative))
      fs::copy(examples / relative, dataFolder / relative, fs::copy_options::recursive | fs::copy_options::skip_existing);
  fs::create_directories(settingsFolder);
  std::error_code error;
  if (!WriteFileAtomically(settingsFile, settings.str(), error)) throw fs::filesystem_error("cannot write", settingsFile, error);
  return "First start: wrote the example settings to " + settingsFile.string() + "; programs, jobs and labels are in " +
         WithTrailingSeparator(dataFolder.string());
}

}  // namespace orl
