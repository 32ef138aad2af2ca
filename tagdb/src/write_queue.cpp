#include "write_queue.h"

#include <utility>

namespace queldb {

bool WriteQueue::Push(QueueEntry entry) {
  std::lock_guard lock(mutex_);
  if (count_ >= kCapacity) return false;
  slots_[static_cast<std::size_t>((head_ + count_) % kCapacity)] = std::move(entry);
  ++count_;
  return true;
}

bool WriteQueue::Pop(QueueEntry& entry) {
  std::lock_guard lock(mutex_);
  if (count_ <= 0) return false;
  entry = std::move(slots_[static_cast<std::size_t>(head_)]);
  head_ = static_cast<int16_t>((head_ + 1) % kCapacity);
  --count_;
  return true;
}

}  // namespace queldb
