// The queue of values that consumers want written to the PLC; the host's
// driver drains it oldest first.
#pragma once

#include <array>
#include <cstdint>

#include "queldb/variant.h"

namespace queldb {

struct QueueEntry {
  Variant address;
  Variant value;
  int16_t dataType = 0;
  int16_t size = 1;
};

class WriteQueue {
 public:
  static constexpr int16_t kCapacity = 45;

  // Drops the entry silently when 45 are held.
  void Push(QueueEntry entry);
  // Delivers the next entry; false when none is waiting. The queue empties
  // once its last entry is delivered, and also after the first delivery from
  // a full queue, which drops the other 44 entries.
  bool Pop(QueueEntry& entry);

 private:
  std::array<QueueEntry, kCapacity + 1> slots_;  // slot 0 unused
  int16_t count_ = 0;
  int16_t position_ = 0;
};

}  // namespace queldb
