#pragma once
// The communication log: PLC failures go here, never to message boxes.
// Each line carries the date and time; at most MaxLogLen lines are kept,
// the oldest dropped first, and 0 or less keeps no log at all.
//
// Two refinements keep a long failure readable: an attempt that repeats
// itself (reconnecting every second) stays on one line that counts it, and
// the line that opened a failure is kept while the failure lasts, however
// many lines come after it.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace orl {

inline constexpr const char* kLogReadPlc = "Read PLC";
inline constexpr const char* kLogPollRetry = "Poll Retry";
inline constexpr const char* kLogNextPosition = "Next Position";
inline constexpr const char* kLogDirectSetOutput = "Direct Set Output";
inline constexpr const char* kLogControlRelaySet = "Control Relay Set";
// Appended to a line that was logged more than once in a row:
// "text (repeated 37 times)".
inline constexpr const char* kLogRepeatedHead = " (repeated ";
inline constexpr const char* kLogRepeatedTail = " times)";

class CommLog {
 public:
  using StampSource = std::function<std::string()>;  // "date ; time"
  using LineObserver = std::function<void(const std::string&)>;
  // Names one line for as long as it is in the log; 0 names none.
  using LineId = std::uint64_t;

  CommLog();

  std::int32_t MaxLogLen = 0;

  void LogComm(const std::string& text);
  // As LogComm, but when the newest line was logged this way with the same
  // text, that line takes the new date and time and counts the repetition
  // instead of a line being added.
  void LogRepeating(const std::string& text);
  // As LogComm, and the line is passed over when old lines are dropped
  // until it is released. Returns its id (0 when there is no log).
  LineId LogKept(const std::string& text);
  void Release(LineId line);
  // The "Clear" button beside the list.
  void Clear();

  const std::deque<std::string>& Lines() const { return lines_; }
  // The list shows its newest line; -1 when empty.
  int SelectedLine() const { return static_cast<int>(lines_.size()) - 1; }

  void SetStampSource(StampSource source) { stamp_ = std::move(source); }
  // Told every line that enters the log, and a counting line each time it
  // counts again (orl-tool prints them).
  void SetObserver(LineObserver observer) { observer_ = std::move(observer); }

 private:
  bool IsKept(LineId line) const;
  void DropOldLines();

  std::deque<std::string> lines_;
  std::deque<LineId> ids_;  // one per line
  LineId lastId_ = 0;
  std::vector<LineId> kept_;
  LineId repeatingLine_ = 0;
  std::string repeatingText_;
  long repeats_ = 0;
  StampSource stamp_;
  LineObserver observer_;
};

// The local date and time as "YYYY-MM-DD ; HH:MM:SS".
std::string LocalDateTimeStamp();

}  // namespace orl
