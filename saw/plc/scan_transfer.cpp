#include "saw/plc/scan_transfer.h"

#include <algorithm>

#include "saw/plc/attempt.h"
#include "saw/plc/dig_io.h"
#include "saw/plc/register_map.h"
#include "saw/shell/machine_parameters.h"
#include "saw/shell/text_number.h"

namespace orl {
namespace {

struct ScanRead {
  int address;
  bool confirm;
};
constexpr std::array<ScanRead, kScanReads> kReads{{
    {kInputAddress, true},
    {kOutputAddress, true},
    {kRelayAddress, true},
    {-kPositionAddress, false},
    {-kTargetAddress, false},
}};

WriteOutcome RunWrite(PlcLink& link, const TransferPlan& plan) {
  WriteOutcome out;
  if (link.LinkBusy()) return out;
  out.ran = true;
  int ok = 0;
  out.raised = !Attempt([&] {
    ok = plan.kind == TransferKind::WriteTarget ? link.WriteWords(kTargetAddress, plan.block, kTargetBlockWords)
         : plan.kind == TransferKind::WriteOutput ? link.WriteWords(kOutputAddress, plan.value)
                                                  : link.WriteWords(kRelayAddress, plan.value);
  });
  out.ok = !out.raised && ok != 0;
  return out;
}

std::string PositionCaption(std::int32_t tenths) {
  return tenths < 0 ? kNoPosition : FormatMask(tenths / 10.0, kPositionMask);
}

void ApplyReads(PlcState& state, const TransferResult& result) {
  Attempt([&] {
    const auto r = ApplyRead(state, result.reads[0], ReadDecoding::RawBits);
    if (r >= 0) ShowInputs(state.DigIO, state.InputImage = r);
  });
  Attempt([&] {
    const auto r = ApplyRead(state, result.reads[1], ReadDecoding::RawBits);
    if (r >= 0) ShowOutputs(state.DigIO, state.OutputImage = r);
  });
  Attempt([&] {
    const auto r = ApplyRead(state, result.reads[2], ReadDecoding::RawBits);
    if (r >= 0) ShowRelays(state.DigIO, state.RelayImage = r);
  });
  Attempt([&] { state.POS = PositionCaption(ApplyRead(state, result.reads[3], ReadDecoding::Bcd)); });
  Attempt([&] { state.Target = PositionCaption(ApplyRead(state, result.reads[4], ReadDecoding::Bcd)); });
}

struct WriteTexts {
  const char* activity;
  const char* logLine;
};

// Clears the pending value when the write went through (or threw) and the
// operator has not asked for another value meanwhile.
void ApplyWrite(PlcState& state, std::int32_t& pending, std::int32_t cleared, const TransferPlan& plan,
                const WriteOutcome& out, WriteTexts texts) {
  if (!out.ran) return;
  if (out.ok || out.raised) {
    if (pending == plan.value) pending = cleared;
    return;
  }
  state.CmAtvty = texts.activity;
  state.log.LogComm(texts.logLine);
}

}  // namespace

CreepDistance CreepTenths(const CellGrid& macPar) {
  std::int64_t creep = RoundHalfEven(MachineParameter(macPar, kCreepDistanceRow));
  if (creep == 0) creep = kDefaultCreepDistance;
  const std::int64_t tenths = creep * 10;
  const std::int64_t carried = std::clamp<std::int64_t>(tenths, 0, kMaxBlockTenths);
  return {static_cast<std::int32_t>(carried), carried != tenths};
}

TransferPlan PrepareTransfer(const PlcState& state, const CellGrid& macPar, bool linkOpen) {
  TransferPlan plan;
  if (!linkOpen) return plan;
  if (state.OutputWrite < 0 && state.RelayWrite < 0) {
    plan.kind = TransferKind::Read;
  } else if (state.TargetWrite > 0) {
    plan.kind = TransferKind::WriteTarget;
    plan.value = state.TargetWrite;
    const CreepDistance creep = CreepTenths(macPar);
    plan.block = TargetBlock(state.TargetWrite, creep.tenths);
    plan.creepClamped = creep.clamped;
  } else if (state.OutputWrite >= 0) {
    plan.kind = TransferKind::WriteOutput;
    plan.value = state.OutputWrite;
  } else {
    plan.kind = TransferKind::WriteRelay;
    plan.value = state.RelayWrite;
  }
  return plan;
}

TransferResult Transfer(PlcLink& link, const TransferPlan& plan) {
  TransferResult result;
  if (plan.kind == TransferKind::None) return result;
  Attempt([&] { link.BeginTransfer(); });
  if (plan.kind == TransferKind::Read) {
    for (int i = 0; i < kScanReads; ++i)
      Attempt([&] { result.reads[i] = TransferRead(link, kReads[i].address, kReads[i].confirm); });
  } else {
    result.write = RunWrite(link, plan);
  }
  Attempt([&] { link.EndTransfer(); });
  return result;
}

void ApplyTransfer(PlcState& state, const TransferPlan& plan, const TransferResult& result) {
  if (plan.kind == TransferKind::None) return;
  state.CmAtvty = kActivityTransfer;
  switch (plan.kind) {
    case TransferKind::Read: ApplyReads(state, result); break;
    case TransferKind::WriteTarget:
      if (plan.creepClamped && result.write.ran) state.log.LogComm(kLogCreepClamped);
      ApplyWrite(state, state.TargetWrite, -1, plan, result.write, {"2000", kLogNextPosition});
      break;
    case TransferKind::WriteOutput:
      ApplyWrite(state, state.OutputWrite, kNothingPending, plan, result.write, {"40500", kLogDirectSetOutput});
      break;
    case TransferKind::WriteRelay:
      ApplyWrite(state, state.RelayWrite, kNothingPending, plan, result.write, {"40634", kLogControlRelaySet});
      break;
    case TransferKind::None: break;
  }
}

}  // namespace orl
