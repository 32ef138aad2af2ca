#pragma once
// A history file that cannot be opened, read or written. The message names
// the file and what SQLite said: "history.sqlite: disk I/O error".
#include <filesystem>
#include <stdexcept>
#include <string>

namespace orl {

class HistoryError : public std::runtime_error {
 public:
  HistoryError(const std::filesystem::path& file, const std::string& reason)
      : std::runtime_error(file.string() + ": " + reason) {}
};

}  // namespace orl
