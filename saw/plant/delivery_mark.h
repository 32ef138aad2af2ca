#pragma once
// The highest seq the plant's broker has acknowledged along with every
// record before it, kept in a small file so a restarted program goes on
// from there. A mark older than the truth only costs duplicates.
#include <cstdint>
#include <filesystem>
#include <optional>

namespace orl {

class DeliveryMark {
 public:
  explicit DeliveryMark(std::filesystem::path file) : file_(std::move(file)) {}

  const std::filesystem::path& File() const { return file_; }
  // nullopt when there is no mark yet (or it cannot be read).
  std::optional<std::int64_t> Read() const;
  // Replaces the mark as a whole (a new file renamed over the old, flushed
  // first), so a crash leaves the old mark or the new one; false on failure.
  bool Write(std::int64_t seq) const;

 private:
  std::filesystem::path file_;
};

}  // namespace orl
