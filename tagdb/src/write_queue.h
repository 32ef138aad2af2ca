// The queue of values that consumers want written to the PLC; the host's
// driver drains it oldest first. Safe to use from any thread.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>

#include "queldb/variant.h"

namespace queldb {

struct QueueEntry {
  Variant address;
  Variant value;
  int16_t dataType = 0;
  int16_t size = 1;
};

// First in, first out, at most 45 entries waiting: every accepted entry is
// delivered once, in the order it was accepted.
class WriteQueue {
 public:
  static constexpr int16_t kCapacity = 45;

  // False, and the entry refused, while 45 entries are waiting.
  bool Push(QueueEntry entry);
  // Moves the oldest waiting entry out; false when none is waiting.
  bool Pop(QueueEntry& entry);

 private:
  std::mutex mutex_;
  std::array<QueueEntry, kCapacity> slots_;  // a ring: oldest at head_
  int16_t head_ = 0;
  int16_t count_ = 0;
};

}  // namespace queldb
