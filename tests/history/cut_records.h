#pragma once
// Records and waits the history tests share.
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "saw/history/cut_record.h"

namespace orl::testing {

inline CutRecord CutAt(std::int64_t timeMs, const std::string& program = "kitchen", int target = 0) {
  CutRecord record;
  record.timeMs = timeMs;
  record.program = program;
  record.group = 1;
  record.target = target;
  record.length = "500";
  record.unit = "mm";
  return record;
}

// Polls until done() holds; false when it does not within the limit (a
// guard against hanging, not a measure of speed).
inline bool Eventually(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(20)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace orl::testing
