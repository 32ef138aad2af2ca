#include "saw/plc/comm_log.h"

#include <algorithm>
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
  ids_.push_back(++lastId_);
  DropOldLines();
  if (observer_) observer_(line);
}

void CommLog::LogRepeating(const std::string& text) {
  if (MaxLogLen < 1) return;
  if (ids_.empty() || ids_.back() != repeatingLine_ || text != repeatingText_) {
    LogComm(text);
    repeatingLine_ = lastId_;
    repeatingText_ = text;
    repeats_ = 1;
    return;
  }
  ++repeats_;
  lines_.back() = stamp_() + " ; " + text + kLogRepeatedHead + std::to_string(repeats_) + kLogRepeatedTail;
  if (observer_) observer_(lines_.back());
}

CommLog::LineId CommLog::LogKept(const std::string& text) {
  if (MaxLogLen < 1) return 0;
  LogComm(text);
  kept_.push_back(lastId_);
  return lastId_;
}

void CommLog::Release(LineId line) { std::erase(kept_, line); }

bool CommLog::IsKept(LineId line) const { return std::find(kept_.begin(), kept_.end(), line) != kept_.end(); }

// The oldest line goes first, passing over kept lines; the newest line
// always stays, so a log of one line still shows what just happened.
void CommLog::DropOldLines() {
  while (lines_.size() > static_cast<std::size_t>(MaxLogLen)) {
    std::size_t drop = 0;
    while (drop + 1 < lines_.size() && IsKept(ids_[drop])) ++drop;
    if (drop + 1 == lines_.size()) drop = 0;
    std::erase(kept_, ids_[drop]);
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(drop));
    ids_.erase(ids_.begin() + static_cast<std::ptrdiff_t>(drop));
  }
}

void CommLog::Clear() {
  lines_.clear();
  ids_.clear();
  kept_.clear();
}

}  // namespace orl
