#include "saw/tools/tool_session.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "saw/cutlist/cut_program_file.h"
#include "saw/shell/orl_settings.h"

namespace orl {
namespace fs = std::filesystem;

std::string DefaultSettingsFile() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  const std::string programFolder = error ? std::string("./") : program.parent_path().string() + "/";
  return SettingsPath(ChosenSettingsFolder(programFolder, "")).string();
}

ToolSession::ToolSession(const std::string& iniFile) {
  std::error_code error;
  if (!iniFile.empty() && !fs::is_regular_file(iniFile, error)) throw FileError("cannot read settings file " + iniFile);
  const std::string settingsFile = iniFile.empty() ? DefaultSettingsFile() : iniFile;
  if (iniFile.empty() && !fs::is_regular_file(settingsFile, error))
    throw FileError("no settings file: looked for " + settingsFile + "; name one with --ini FILE or set " +
                    kSettingsFolderVariable);
  workstation = std::make_unique<Workstation>(ui, fileSystem, clock);
  workstation->StartUp(settingsFile);
  workstation->Activate();
}

void ToolSession::LoadProgram(const std::string& programPath) {
  const std::string path = Resolve(programPath);
  if (fileSystem.FileExists(path) && workstation->OpenProgram(path)) return;
  // The click says only yes or no; read again for the reason.
  CellGrid scratch = workstation->cutList().grid;
  if (fileSystem.FileExists(path) && ReadCutProgramFile(path, scratch) == CutProgramRead::kNotACutProgram)
    throw FileError(programPath + " is not a cut program (NUL bytes, or data outside 51 rows and 198 columns)");
  throw FileError("cannot read cut program " + programPath);
}

std::string ToolSession::Resolve(const std::string& path) const {
  return fs::path(path).is_absolute() ? path : (launchFolder / path).lexically_normal().string();
}

int ReportFailure(const std::exception& error) {
  std::cerr << "orl-tool: " << error.what() << "\n";
  return dynamic_cast<const FileError*>(&error) ? kExitFileError : kExitBadArgument;
}

}  // namespace orl
