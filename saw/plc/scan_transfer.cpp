#include "saw/plc/scan_transfer.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "saw/plc/attempt.h"
#include "saw/plc/dig_io.h"
#include "saw/plc/line_timing.h"
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

bool Bit(std::int32_t image, int relay) { return (image >> RelayBitIndex(relay) & 1) != 0; }

// The PLC took the relay word of the last hand-over.
void ConfirmHandOver(PlcState& state) {
  if (!state.HandOverUnconfirmed) return;
  state.HandOverUnconfirmed = false;
  state.HandOversConfirmed = state.HandOvers;
}

// A hand-over whose relay word is dropped goes with its target. While the
// PLC still asks for it ("Send Next Pos" on, or "Set To Beginning") it is
// made again from the images as the PLC now holds them; otherwise the PLC
// has taken it and asks for nothing until it raises "Send Next Pos" anew.
void DropHandOver(PlcState& state, std::int32_t relays) {
  if (!state.HandOverUnconfirmed) return;
  state.HandOverUnconfirmed = false;
  state.TargetWrite = -1;
  if (!Bit(relays, kRelaySendNextPos) && !Bit(relays, kRelaySetToBeginning)) return;
  if (state.LastHandOver.Manual) {
    state.ManualSend = true;
    state.manual.ManPosColor = kManPosWaitingColor;
  } else if (state.PosIndex == state.LastHandOver.PosIndex) {
    --state.PosIndex;
    state.PosSent = false;
  }
}

// The first read over a connection made afresh: a pending word is kept only
// while the PLC still holds the word it was computed from.
void ApplyReadAfterReconnect(PlcState& state, std::int32_t relays, std::int32_t outputs) {
  if (relays >= 0) {
    if (state.RelayWrite == relays) {  // it reached the PLC before the link dropped
      state.RelayWrite = kNothingPending;
      ConfirmHandOver(state);
    } else if (state.RelayWrite >= 0 && relays != state.RelayHeld) {
      state.RelayWrite = kNothingPending;
      DropHandOver(state, relays);
    }
    state.RelayHeld = relays;
    state.RelayImage = state.RelayWrite >= 0 ? state.RelayWrite : relays;
  }
  if (outputs >= 0) {
    if (state.OutputWrite >= 0 && (outputs == state.OutputWrite || outputs != state.OutputHeld))
      state.OutputWrite = kNothingPending;
    state.OutputHeld = outputs;
  }
}

void ApplyReads(PlcState& state, const TransferResult& result, bool afterReconnect) {
  std::int32_t outputs = -1, relays = -1;
  Attempt([&] {
    const auto r = ApplyRead(state, result.reads[0], ReadDecoding::RawBits);
    if (r >= 0) ShowInputs(state.DigIO, state.InputImage = r);
  });
  Attempt([&] {
    outputs = ApplyRead(state, result.reads[1], ReadDecoding::RawBits);
    if (outputs >= 0) ShowOutputs(state.DigIO, state.OutputImage = outputs);
  });
  Attempt([&] {
    relays = ApplyRead(state, result.reads[2], ReadDecoding::RawBits);
    if (relays >= 0) ShowRelays(state.DigIO, state.RelayImage = relays);
  });
  if (afterReconnect) {
    ApplyReadAfterReconnect(state, relays, outputs);
  } else {
    if (relays >= 0) state.RelayHeld = relays;
    if (outputs >= 0) state.OutputHeld = outputs;
  }
  if (relays >= 0 && outputs >= 0) state.ImagesConnection = result.connection;
  Attempt([&] { state.POS = PositionCaption(ApplyRead(state, result.reads[3], ReadDecoding::Bcd)); });
  Attempt([&] { state.Target = PositionCaption(ApplyRead(state, result.reads[4], ReadDecoding::Bcd)); });
}

struct WriteTexts {
  const char* activity;
  const char* logLine;
};

// Clears the pending value when the write went through (or threw) and the
// operator has not asked for another value meanwhile. True when the PLC
// took the value.
bool ApplyWrite(PlcState& state, std::int32_t& pending, std::int32_t cleared, const TransferPlan& plan,
                const WriteOutcome& out, WriteTexts texts) {
  if (!out.ran) return false;
  if (out.ok || out.raised) {
    if (pending == plan.value) pending = cleared;
    return out.ok;
  }
  state.CmAtvty = texts.activity;
  state.log.LogComm(texts.logLine);
  return false;
}

// The loss of the connection is logged once, then the attempts to make it
// again (counted on one line), and its return. The loss's line stays in
// the log until the link is back.
void ApplyLinkHealth(PlcState& state, const TransferResult& result) {
  if (result.health.reconnectAttempted && state.LinkLost) state.log.LogRepeating(kLogReconnecting);
  if (result.health.lost && !state.LinkLost) {
    state.LinkLostLine = state.log.LogKept(kLogLinkLost + result.cause);
    state.LinkLostCause = result.cause;
  }
  if (!result.health.lost && state.LinkLost) {
    state.log.Release(state.LinkLostLine);
    state.LinkLostLine = 0;
    state.LinkLostCause.clear();
    state.log.LogComm(kLogLinkBack);
  }
  state.LinkLost = result.health.lost;
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
  plan.imagesConnection = state.ImagesConnection;
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
  const auto start = std::chrono::steady_clock::now();
  Attempt([&] { link.BeginTransfer(); });
  Attempt([&] { result.connection = link.Connection(); });
  result.done = plan.kind;
  // A PLC reached over a new connection may have restarted: what it holds
  // is read before any word computed from the old images is written.
  if (plan.imagesConnection != 0 && result.connection != plan.imagesConnection) result.done = TransferKind::Read;
  if (result.done == TransferKind::Read) {
    for (int i = 0; i < kScanReads; ++i)
      Attempt([&] { result.reads[i] = TransferRead(link, kReads[i].address, kReads[i].confirm); });
  } else {
    result.write = RunWrite(link, plan);
  }
  Attempt([&] { link.EndTransfer(); });
  Attempt([&] {
    result.health = link.Health();
    if (result.health.lost) result.cause = link.LastError();
  });
  result.milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  return result;
}

void ApplyTransfer(PlcState& state, const TransferPlan& plan, const TransferResult& result) {
  if (plan.kind == TransferKind::None) return;
  state.CmAtvty = kActivityTransfer;
  ApplyLinkHealth(state, result);
  switch (result.done) {
    case TransferKind::Read: ApplyReads(state, result, plan.kind != TransferKind::Read); break;
    case TransferKind::WriteTarget:
      if (plan.creepClamped && result.write.ran) state.log.LogComm(kLogCreepClamped);
      ApplyWrite(state, state.TargetWrite, -1, plan, result.write, {"2000", kLogNextPosition});
      break;
    case TransferKind::WriteOutput:
      if (ApplyWrite(state, state.OutputWrite, kNothingPending, plan, result.write, {"40500", kLogDirectSetOutput}))
        state.OutputHeld = plan.value;
      break;
    case TransferKind::WriteRelay:
      if (ApplyWrite(state, state.RelayWrite, kNothingPending, plan, result.write, {"40634", kLogControlRelaySet})) {
        state.RelayHeld = plan.value;
        ConfirmHandOver(state);
      }
      break;
    case TransferKind::None: break;
  }
}

bool WentThrough(const TransferPlan& plan, const TransferResult& result) {
  if (plan.kind == TransferKind::None || result.done != plan.kind || result.health.lost) return false;
  if (plan.kind != TransferKind::Read) return result.write.ok;
  return std::all_of(result.reads.begin(), result.reads.end(), [](const ReadOutcome& r) { return r.ran && r.ok; });
}

bool WritesOnInSameTick(const TransferPlan& done, const TransferResult& result, const TransferPlan& next) {
  const bool write = next.kind != TransferKind::None && next.kind != TransferKind::Read;
  return write && WentThrough(done, result);
}

int ScanTickWireMs(const SerialLine& line, bool handOverInOneTick) {
  double readTick = 0;
  for (const ScanRead& read : kReads) {
    const int words = read.address < 0 ? 1 : 2;
    const double once = RtuTransactionMs(line, kReadRequestBytes, ReadResponseBytes(words));
    readTick += read.confirm ? 2 * once : once;  // a confirmed image is read at least twice
  }
  const double target = RtuTransactionMs(line, WriteManyRequestBytes(kTargetBlockWords), kWriteManyResponseBytes);
  const double word = RtuTransactionMs(line, kWriteOneRequestBytes, kWriteOneResponseBytes);
  const double tick = handOverInOneTick ? readTick + target + 2 * word : std::max(readTick, target);
  return static_cast<int>(std::ceil(tick));
}

}  // namespace orl
