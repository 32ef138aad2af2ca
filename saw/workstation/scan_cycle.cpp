#include "saw/workstation/scan_cycle.h"

#include "saw/workstation/workstation.h"

namespace orl {

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
  return plan;
}

void ScanCycle::FinishTick(const TransferPlan& plan, const TransferResult& result) {
  inFlight_ = false;
  ws_.ApplyScan(plan, result);
  Sequence();
}

void ScanCycle::Tick() {
  if (const auto plan = BeginTick(/*transferThread=*/true)) FinishTick(*plan, Transfer(*ws_.link_, *plan));
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
