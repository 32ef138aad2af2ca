#pragma once
// The communication log: PLC failures go here, never to message boxes.
// Each line carries the date and time; at most MaxLogLen lines are kept,
// the oldest dropped first, and 0 or less keeps no log at all.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

namespace orl {

inline constexpr const char* kLogReadPlc = "Read PLC";
inline constexpr const char* kLogPollRetry = "Poll Retry";
inline constexpr const char* kLogNextPosition = "Next Position";
inline constexpr const char* kLogDirectSetOutput = "Direct Set Output";
inline constexpr const char* kLogControlRelaySet = "Control Relay Set";

class CommLog {
 public:
  using StampSource = std::function<std::string()>;  // "date ; time"
  using LineObserver = std::function<void(const std::string&)>;

  CommLog();

  std::int32_t MaxLogLen = 0;

  void LogComm(const std::string& text);
  // The "Clear" button beside the list.
  void Clear();

  const std::deque<std::string>& Lines() const { return lines_; }
  // The list shows its newest line; -1 when empty.
  int SelectedLine() const { return static_cast<int>(lines_.size()) - 1; }

  void SetStampSource(StampSource source) { stamp_ = std::move(source); }
  // Told every line that enters the log (orl-tool prints them).
  void SetObserver(LineObserver observer) { observer_ = std::move(observer); }

 private:
  std::deque<std::string> lines_;
  StampSource stamp_;
  LineObserver observer_;
};

// The local date and time as "YYYY-MM-DD ; HH:MM:SS".
std::string LocalDateTimeStamp();

}  // namespace orl
