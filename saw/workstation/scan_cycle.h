#pragma once
// What one tick of the scan timer does, whoever drives it. A driver decides
// only when a tick runs and on which thread its PLC transfer runs: the
// desktop program ticks from a timer on the window's thread and transfers
// on a worker thread; orl-tool ticks in a plain loop and transfers in line.
// The rules are all here:
// - a tick that comes while a transfer is still under way only sequences;
// - a tick with nothing to transfer (the link is closed, or scanning has
//   ended) is applied and sequenced at once, without the transfer thread;
// - a driver that has no thread to transfer on never reaches the PLC from
//   its own thread: its tick only sequences;
// - ticks come kScanIntervalMs apart;
// - a run is done once the last cut of a list has been handed over and
//   every word is written.
#include <cstdint>
#include <optional>

#include "saw/plc/scan_transfer.h"

namespace orl {

class Workstation;

// Milliseconds between two scan ticks.
inline constexpr int kScanIntervalMs = 300;

class ScanCycle {
 public:
  explicit ScanCycle(Workstation& workstation) : ws_(workstation) {}
  ScanCycle(const ScanCycle&) = delete;
  ScanCycle& operator=(const ScanCycle&) = delete;

  // A tick starts on the driver's thread. The plan returned is the
  // transfer the driver must run on its transfer thread
  // (`Transfer(*link, plan)`) and bring back to FinishTick on the driver's
  // thread; until then the transfer is in flight. Nothing is returned when
  // the tick is complete already (a transfer in flight, nothing to
  // transfer, or no transfer thread: `transferThread` says whether the
  // driver has one).
  std::optional<TransferPlan> BeginTick(bool transferThread);
  // The transfer's outcome, applied; then the relays are answered.
  void FinishTick(const TransferPlan& plan, const TransferResult& result);
  // A whole tick on the caller's thread, the transfer included.
  void Tick();

  bool TransferInFlight() const { return inFlight_; }

  // Whether a run from the operator's selection would hand over anything:
  // the workstation's positions (a list over the limit is refused with the
  // workstation's warning) hold more than a board's head entry, which the
  // sequencing never hands over alone. A trial: the running position stays.
  bool SomethingToCut();
  // The last cut of a list has been handed over (at any tick so far) and
  // no target, output or relay word waits to be written.
  bool RunDone() const;

 private:
  // Answers the relays and notes the hand-overs it made.
  void Sequence();

  Workstation& ws_;
  bool inFlight_ = false;
  bool lastCutHanded_ = false;
  std::uint64_t handOversSeen_ = 0;
};

}  // namespace orl
