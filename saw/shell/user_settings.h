#pragma once
// Where an installed ORL keeps its settings and files: ORL.INI in the user's
// configuration folder, the cut programs, jobs and label file in the user's
// data folder, both filled from the bundled examples on first start.
#include <filesystem>
#include <string>

namespace orl {

// The bundled examples of an installed program: <prefix>/share/orl/examples
// beside the program's <prefix>/bin, when they hold an ORL.INI. Empty for a
// program that runs from anywhere else, such as the build tree.
std::filesystem::path InstalledExamplesFolder(const std::filesystem::path& programFolder);

// $XDG_CONFIG_HOME/orl, else ~/.config/orl; empty when neither is known.
std::filesystem::path UserSettingsFolder();
// $XDG_DATA_HOME/orl, else ~/.local/share/orl; empty when neither is known.
std::filesystem::path UserDataFolder();

// When settingsFolder holds no ORL.INI yet: writes the examples' ORL.INI
// there with its relative folders and label file moved below dataFolder,
// copies the example folders those name into dataFolder (keeping files
// already there) and returns the line that tells the user so. Returns an
// empty text when ORL.INI exists. Throws std::filesystem::filesystem_error.
std::string SeedUserSettings(const std::filesystem::path& examples, const std::filesystem::path& settingsFolder,
                             const std::filesystem::path& dataFolder);

}  // namespace orl
