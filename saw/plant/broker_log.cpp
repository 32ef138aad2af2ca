#include "saw/plant/broker_log.h"

#include <utility>

namespace orl {

void BrokerLog::Unreachable() {
  std::lock_guard lock(mutex_);
  if (unreachable_) return;
  unreachable_ = true;
  Add("Plant broker not reachable: " + address_);
}

void BrokerLog::Connected() {
  std::lock_guard lock(mutex_);
  if (!unreachable_) return;
  unreachable_ = false;
  Add("Plant broker reachable again: " + address_);
}

void BrokerLog::Failed(const std::string& what) {
  std::lock_guard lock(mutex_);
  if (!failuresTold_.insert(what).second) return;
  Add("Plant broker: " + what);
}

std::vector<std::string> BrokerLog::Take() {
  std::lock_guard lock(mutex_);
  return std::exchange(lines_, {});
}

void BrokerLog::Add(std::string line) { lines_.push_back(std::move(line)); }

}  // namespace orl
