#include "write_queue.h"

#include <utility>

namespace queldb {

void WriteQueue::Push(QueueEntry entry) {
  if (count_ >= kCapacity) return;
  ++count_;
  slots_[count_] = std::move(entry);
}

bool WriteQueue::Pop(QueueEntry& entry) {
  if (count_ <= 0) return false;
  ++position_;
  entry = slots_[position_];
  if (position_ == count_ || count_ == kCapacity) {
    count_ = 0;
    position_ = 0;
  }
  return true;
}

}  // namespace queldb
