#include "saw/plc/label_file.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "saw/shell/path_parts.h"

namespace orl {
namespace {

// A book label may hold several part labels on lines of their own, joined
// with CR LF as the optimizer file had them; the label file ends lines with
// LF alone.
std::string WithLineFeeds(const std::string& label) {
  std::string text;
  for (std::size_t i = 0; i < label.size(); ++i) {
    if (label[i] == '\r') {
      text += '\n';
      if (i + 1 < label.size() && label[i + 1] == '\n') ++i;
    } else {
      text += label[i];
    }
  }
  return text;
}

// Every byte or false; a write cut short by a signal goes on.
bool WriteWhole(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool LongerThanLimit(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return !error && size > kLabelFileLimit;
}

}  // namespace

bool IsValidFileName(const std::string& path) {
  if (FileNamePart(path).empty()) return false;
  return std::none_of(path.begin(), path.end(), [](unsigned char c) {
    return c < 0x20 || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|';
  });
}

bool AppendBookLabel(const std::string& path, const std::string& label) {
  const std::string file = WithForwardSlashes(path);
  const int mode = LongerThanLimit(file) ? O_TRUNC : O_APPEND;
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | mode, 0666);
  if (fd < 0) return false;
  struct stat before {};
  bool whole = ::fstat(fd, &before) == 0 && WriteWhole(fd, WithLineFeeds(label) + '\n');
  // A full disk may take part of the line: cut it off again, so the next
  // label does not continue a torn line.
  if (!whole && S_ISREG(before.st_mode) && ::ftruncate(fd, before.st_size) != 0) whole = false;
  return ::close(fd) == 0 && whole;
}

}  // namespace orl
