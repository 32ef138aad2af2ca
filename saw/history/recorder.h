#pragma once
// Where the workstation hands its production records: the history file on
// the saw and, when the settings name one, the plant's broker. Nothing here
// blocks the caller; the records are written on the recorder's own thread.
#include <string>
#include <vector>

#include "saw/history/cut_record.h"

namespace orl {

// What the plant sees of the saw between cuts.
struct SawState {
  std::string program;  // cut program in the list
  int group = 0;        // group being cut (0: none yet)
  bool plcUp = false;   // the PLC link answers
  bool operator==(const SawState&) const = default;
};

class Recorder {
 public:
  virtual ~Recorder() = default;
  // Queues one record (stamped with the wall clock when timeMs is 0).
  virtual void Record(CutRecord record) = 0;
  // Every record queued so far is committed, or cannot be (the file failed
  // and the log said so): the next hand-over may be served.
  virtual bool CaughtUp() const = 0;
  virtual void StateChanged(const SawState& state) = 0;
  // The housekeeping tick: removes a few records past their keeping time
  // and returns the lines the communication log must show (a file or a
  // broker that went or came back), each once.
  virtual std::vector<std::string> Housekeep() = 0;
};

}  // namespace orl
