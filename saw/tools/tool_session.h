#pragma once
// What every orl-tool command does first: a workstation started and
// activated as the desktop program would be, on the settings file named
// with --ini (or the settings folder's own), and the errors a command
// reports with its exit status.
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "saw/shell/clock.h"
#include "saw/shell/file_system.h"
#include "saw/tools/tool_ui.h"
#include "saw/workstation/workstation.h"

namespace orl {

// How every command ends; a run stopped by SIGINT or SIGTERM ends with 128
// and the signal's number, as a shell reports a program it ended.
enum ExitStatus {
  kExitOk = 0,
  kExitBadArgument = 1,
  kExitFileError = 2,  // missing, unreadable or unsuitable
  kExitPortInUse = 3,  // the PLC link cannot be opened
  kExitTimedOut = 4,
};

// A file named on the command line that is missing or cannot be read.
class FileError : public std::runtime_error {
 public:
  explicit FileError(const std::string& what) : std::runtime_error(what) {}
};

// The settings file the desktop program would use: ORL.INI in the folder
// ORL_SETTINGS_DIR names, else in the folder of the running program (with
// the development-folder rule).
std::string DefaultSettingsFile();

struct ToolSession {
  ToolUi ui;
  RealFileSystem fileSystem;
  SteadyClock clock;
  std::unique_ptr<Workstation> workstation;
  // Where the tool was started; start-up moves into the settings folder.
  std::filesystem::path launchFolder = std::filesystem::current_path();

  // Starts and activates a workstation on iniFile (empty: the default).
  // Throws FileError when the file does not exist: the tools never run on
  // the defaults of a settings file they did not find.
  explicit ToolSession(const std::string& iniFile);

  // Loads a cut program as a click in the program list would; throws
  // FileError when it cannot be read or is not a cut program.
  void LoadProgram(const std::string& programPath);

  // A path named on the command line, taken from the launch folder.
  std::string Resolve(const std::string& path) const;
};

// Writes the message for a failed command to standard error and returns
// its exit status.
int ReportFailure(const std::exception& error);

// Runs a command's body: status becomes its exit status, or the failure's.
template <typename Body>
void RunCommandBody(int& status, Body body) {
  try {
    status = body();
  } catch (const std::exception& error) {
    status = ReportFailure(error);
  }
}

}  // namespace orl
