#pragma once
// A link that notes which write came in which tick (`tick`, kept by the
// test): a target block by its target, a word by its value. It can fail
// relay words, or stand for a PLC that restarts just after it took a
// target block. Writes() may be read while a scan worker writes.
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include "../fakes/fake_plc_link.h"
#include "saw/plc/register_map.h"

namespace orl::testing {

struct Written {
  int tick;
  int address;
  std::int32_t value;
};

class WatchedLink final : public FaultyPlcLink {
 public:
  using FaultyPlcLink::FaultyPlcLink;
  int tick = 0;
  int failRelayWords = 0;
  std::function<void()> afterTargetBlock;

  std::vector<Written> Writes() const {
    std::lock_guard lock(mutex_);
    return writes_;
  }
  void ClearWrites() {
    std::lock_guard lock(mutex_);
    writes_.clear();
  }
  int WriteWords(int address, std::int32_t value) override {
    if (address == kRelayAddress && failRelayWords > 0) {
      --failRelayWords;
      return 0;
    }
    Note(address, value);
    return FaultyPlcLink::WriteWords(address, value);
  }
  int WriteWords(int address, const PlcWords4& words, int count) override {
    Note(address, DecodeBcd(words[0], words[1]));
    const int ok = FaultyPlcLink::WriteWords(address, words, count);
    if (afterTargetBlock) std::exchange(afterTargetBlock, nullptr)();
    return ok;
  }

 private:
  void Note(int address, std::int32_t value) {
    std::lock_guard lock(mutex_);
    writes_.push_back({tick, address, value});
  }
  mutable std::mutex mutex_;
  std::vector<Written> writes_;
};

}  // namespace orl::testing
