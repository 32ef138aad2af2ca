#include "saw/workstation/scan_cycle.h"

#include <cmath>

#include "saw/workstation/workstation.h"

namespace orl {

std::string IntervalRaisedText(int fromMs, int toMs) {
  return "Scan interval raised from " + std::to_string(fromMs) + " ms to " + std::to_string(toMs) +
         " ms: one tick's transfers take " + std::to_string(toMs) + " ms on this line";
}

void ScanCycle::SetTiming(int intervalMs, bool handOverInOneTick, int wireFloorMs) {
  intervalMs_ = intervalMs;
  handOverInOneTick_ = handOverInOneTick;
  if (wireFloorMs > intervalMs_) RaiseInterval(wireFloorMs);
}

void ScanCycle::RaiseInterval(int toMs) {
  ws_.plc_.log.LogComm(IntervalRaisedText(intervalMs_, toMs));
  intervalMs_ = toMs;
}

std::optional<TransferPlan> ScanCycle::BeginTick(bool transferThread) {
  if (inFlight_) {
    Sequence();
    return std::nullopt;
  }
  const TransferPlan plan = ws_.PrepareScan();
  if (plan.kind == TransferKind::None) {
    FinishTick(plan, TransferResult{});
    return std::nullopt;
  }
  if (!transferThread) {
    Sequence();
    return std::nullopt;
  }
  inFlight_ = true;
  transfers_ = 0;
  tickMilliseconds_ = 0;
  tickWentThrough_ = true;
  return plan;
}

std::optional<TransferPlan> ScanCycle::FinishTick(const TransferPlan& plan, const TransferResult& result) {
  ws_.ApplyScan(plan, result);
  Sequence();
  ++transfers_;
  tickMilliseconds_ += result.milliseconds;
  tickWentThrough_ = tickWentThrough_ && WentThrough(plan, result);
  if (handOverInOneTick_ && transfers_ < kMaxTransfersPerTick) {
    const TransferPlan next = ws_.PrepareScan();
    if (WritesOnInSameTick(plan, result, next)) return next;
  }
  inFlight_ = false;
  EndOfTick();
  return std::nullopt;
}

void ScanCycle::EndOfTick() {
  const int took = static_cast<int>(std::ceil(tickMilliseconds_));
  if (tickWentThrough_ && took > intervalMs_) RaiseInterval(took);
}

void ScanCycle::Tick() {
  std::optional<TransferPlan> plan = BeginTick(/*transferThread=*/true);
  while (plan) plan = FinishTick(*plan, Transfer(*ws_.link_, *plan));
}

void ScanCycle::Sequence() {
  ws_.SequenceScan();
  const PlcState& plc = ws_.plc_;
  if (plc.HandOvers == handOversSeen_) return;
  handOversSeen_ = plc.HandOvers;
  lastCutHanded_ = lastCutHanded_ || plc.LastHandOver.LastCut;
}

bool ScanCycle::SomethingToCut() {
  const std::int32_t runningPos = ws_.RunningPos_;
  PosList positions;
  const bool something = ws_.MakePositions(positions) && UpperBound(positions) > 1;
  ws_.RunningPos_ = runningPos;
  return something;
}

bool ScanCycle::RunDone() const {
  const PlcState& plc = ws_.plc_;
  return lastCutHanded_ && plc.TargetWrite <= 0 && plc.OutputWrite < 0 && plc.RelayWrite < 0;
}

}  // namespace orl
