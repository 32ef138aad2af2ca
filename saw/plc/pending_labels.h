#pragma once
// Book labels waiting for the label file: a label that could not be
// written (a full disk, a folder that is gone) waits here and is written,
// in the order the parts were cut, as soon as the file takes lines again.
#include <cstddef>
#include <deque>
#include <functional>
#include <string>

namespace orl {

// A run hands over at most a few hundred targets; a queue this long means
// the file has been failing for several runs.
inline constexpr std::size_t kMaxPendingLabels = 1000;

class PendingLabels {
 public:
  // Writes one label line whole, or nothing and answers false.
  using Append = std::function<bool(const std::string& label)>;

  explicit PendingLabels(std::size_t limit = kMaxPendingLabels) : limit_(limit) {}

  // Queues label behind those waiting. When the queue is full the oldest
  // label makes room; answers how many were dropped (0 or 1).
  std::size_t Add(std::string label);
  // Writes the waiting labels, oldest first, and stops at the first that
  // fails, which stays at the front. True when none is left waiting.
  bool WriteOut(const Append& append);

  std::size_t Count() const { return labels_.size(); }
  bool Empty() const { return labels_.empty(); }
  const std::deque<std::string>& Labels() const { return labels_; }

 private:
  std::size_t limit_;
  std::deque<std::string> labels_;
};

}  // namespace orl
