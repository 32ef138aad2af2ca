#include "saw/plc/comm_log.h"

#include <ctime>

namespace orl {

std::string LocalDateTimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d ; %H:%M:%S", &local);
  return text;
}

CommLog::CommLog() : stamp_(LocalDateTimeStamp) {}

void CommLog::LogComm(const std::string& text) {
  if (MaxLogLen < 1) return;
  std::string line = stamp_() + " ; " + text;
  lines_.push_back(line);
  while (lines_.size() > static_cast<std::size_t>(MaxLogLen)) lines_.pop_front();
  if (observer_) observer_(line);
}

void CommLog::Clear() { lines_.clear(); }

}  // namespace orl
