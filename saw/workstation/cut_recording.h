#pragma once
// The workstation's production record: every hand-over the PLC took (its
// relay word written), every manual position and every restart of the
// list goes to the recorder, with the cut list's cell as the operator
// typed it and the labels a pattern load gave. Without a recorder nothing
// is recorded and the saw is never held.
#include <cstdint>
#include <memory>
#include <optional>

#include "saw/history/recorder.h"

namespace orl {

class Workstation;

class CutRecording {
 public:
  explicit CutRecording(Workstation& workstation) : ws_(workstation) {}

  void Attach(std::unique_ptr<Recorder> recorder);
  bool Attached() const { return recorder_ != nullptr; }
  // The last record is committed: the next hand-over may be served.
  bool CaughtUp() const;
  // After the relays were answered: notes a hand-over just made, as the
  // cut list stands now, and records a restart of the list.
  void AfterSequence();
  // After a transfer: records the noted hand-over once the PLC has taken
  // its relay word, and tells the plant what the saw is doing.
  void AfterTransfer();
  // The housekeeping tick: the recorder's own housekeeping and its lines
  // for the communication log.
  void Housekeep();

 private:
  CutRecord HandOverRecord() const;
  CutRecord RestartRecord() const;
  SawState State() const;
  void ReportState();
  void RecordRestart();

  Workstation& ws_;
  std::unique_ptr<Recorder> recorder_;
  std::optional<CutRecord> noted_;  // made, its relay word not yet taken
  // A restart waits to be recorded with the hand-over after it: the PLC
  // takes the list's first target in the tick that restarts it, so the
  // restart must not hold that hand-over back.
  std::optional<CutRecord> restart_;
  std::uint64_t notedHandOver_ = 0;
  std::uint64_t handOversSeen_ = 0;
  std::uint64_t restartsSeen_ = 0;
  int groupBeingCut_ = 0;
  std::optional<SawState> reported_;
};

}  // namespace orl
