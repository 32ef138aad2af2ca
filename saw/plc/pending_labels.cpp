#include "saw/plc/pending_labels.h"

namespace orl {

std::size_t PendingLabels::Add(std::string label) {
  std::size_t dropped = 0;
  while (!labels_.empty() && labels_.size() >= limit_) {
    labels_.pop_front();
    ++dropped;
  }
  if (limit_ > 0) labels_.push_back(std::move(label));
  else ++dropped;
  return dropped;
}

bool PendingLabels::WriteOut(const Append& append) {
  while (!labels_.empty()) {
    if (!append(labels_.front())) return false;
    labels_.pop_front();
  }
  return true;
}

}  // namespace orl
