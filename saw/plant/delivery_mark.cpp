#include "saw/plant/delivery_mark.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace orl {

std::optional<std::int64_t> DeliveryMark::Read() const {
  std::ifstream in(file_);
  std::int64_t seq = 0;
  if (!(in >> seq) || seq < 0) return std::nullopt;
  return seq;
}

bool DeliveryMark::Write(std::int64_t seq) const {
  std::error_code ignored;
  std::filesystem::create_directories(file_.parent_path(), ignored);
  const std::string temp = file_.string() + ".new";
  const std::string text = std::to_string(seq) + "\n";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  // Flushed before the rename: otherwise a power cut could leave an empty
  // mark, read as none, and the records after it would never be sent.
  const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) && ::fsync(fd) == 0;
  ::close(fd);
  return written && std::rename(temp.c_str(), file_.c_str()) == 0;
}

}  // namespace orl
