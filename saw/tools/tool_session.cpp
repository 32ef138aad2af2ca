#include "saw/tools/tool_session.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "saw/shell/orl_settings.h"
#include "saw/shell/path_parts.h"

namespace orl {
namespace fs = std::filesystem;

std::string DefaultSettingsFile() {
  const char* overrideFolder = std::getenv("ORL_SETTINGS_DIR");
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  const std::string programFolder = error ? std::string("./") : program.parent_path().string() + "/";
  return SettingsPath(SettingsFolder(programFolder, overrideFolder ? overrideFolder : "")).string();
}

ToolSession::ToolSession(const std::string& iniFile) {
  std::error_code error;
  if (!iniFile.empty() && !fs::is_regular_file(iniFile, error)) throw FileError("cannot read settings file " + iniFile);
  workstation = std::make_unique<Workstation>(ui, fileSystem, clock);
  workstation->StartUp(iniFile.empty() ? DefaultSettingsFile() : iniFile);
  workstation->Activate();
}

void ToolSession::LoadProgram(const std::string& programPath) {
  const std::string path = Resolve(programPath);
  workstation->File1.folder = FolderPart(path);
  if (!fileSystem.FileExists(path) || !workstation->ProgramClicked(FileNamePart(path)))
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
