// How queldb ends: the exit statuses both command-line tools of the project
// follow, and the error that carries one to main.
#pragma once

#include <stdexcept>
#include <string>

namespace queldb::tool {

enum ExitStatus {
  kDone = 0,
  kBadArgument = 1,
  kBadFile = 2,  // unreadable or unsuitable file or folder
};

// What the tool reports to its user before it exits with `status`.
struct ToolError : std::runtime_error {
  explicit ToolError(const std::string& message, ExitStatus status = kBadFile)
      : std::runtime_error(message), status(status) {}
  ExitStatus status;
};

}  // namespace queldb::tool
