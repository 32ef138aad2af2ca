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
// - ticks come IntervalMs apart: ScanIntervalMs of the settings, never less
//   than one tick's transfers take on the line (raised with a log line);
// - with HandOverInOneTick, the tick whose read sees "Send Next Pos" writes
//   the target block, then the output word and the relay word in the same
//   tick, each only after the one before it went through;
// - a run is done once the last cut of a list has been handed over and
//   every word is written.
#include <cstdint>
#include <optional>
#include <string>

#include "saw/plc/scan_transfer.h"

namespace orl {

class Workstation;

// Milliseconds between two scan ticks unless the settings say otherwise.
inline constexpr int kDefaultScanIntervalMs = 300;

// "Scan interval raised from FROM ms to TO ms: one tick's transfers take TO ms on this line"
std::string IntervalRaisedText(int fromMs, int toMs);

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
  // The transfer's outcome, applied; then the relays are answered. With
  // the hand-over in one tick, the write that follows in the same tick is
  // returned: the driver transfers it as the first and brings it back
  // here; the tick's transfer stays in flight until then.
  std::optional<TransferPlan> FinishTick(const TransferPlan& plan, const TransferResult& result);
  // A whole tick on the caller's thread, its transfers included.
  void Tick();

  bool TransferInFlight() const { return inFlight_; }

  // The tick's settings, from the PLC link's opening: the interval asked
  // for is raised to `wireFloorMs` (what one tick's transfers take on the
  // line), and later to what a tick's transfers are measured to take.
  void SetTiming(int intervalMs, bool handOverInOneTick, int wireFloorMs);
  int IntervalMs() const { return intervalMs_; }

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
  // A tick's transfers are over: a tick that went through and took longer
  // than the interval raises it.
  void EndOfTick();
  void RaiseInterval(int toMs);

  Workstation& ws_;
  bool inFlight_ = false;
  int intervalMs_ = kDefaultScanIntervalMs;
  bool handOverInOneTick_ = false;
  int transfers_ = 0;             // of the tick in flight
  double tickMilliseconds_ = 0;   // its transfers' time so far
  bool tickWentThrough_ = true;   // every transfer of it went through
  bool lastCutHanded_ = false;
  std::uint64_t handOversSeen_ = 0;
};

}  // namespace orl
