#pragma once
// Phase 1 of a scan tick, split so that the transfer touches only the link:
// prepare decides (read everything, or the single pending write and its
// value), transfer talks to the PLC, apply brings the outcome back into
// the program's state. The desktop program runs the transfer on a worker
// thread; orl-tool and the tests run the three in a row.
#include <array>
#include <cstdint>

#include "saw/plc/modbus_link.h"
#include "saw/plc/plc_link.h"
#include "saw/plc/plc_state.h"
#include "saw/plc/read_plc.h"
#include "saw/shell/cell_grid.h"

namespace orl {

inline constexpr const char* kActivityTransfer = "*";
inline constexpr const char* kLogLinkLost = "PLC link lost: ";
inline constexpr const char* kLogReconnecting = "Reconnecting to the PLC";
inline constexpr const char* kLogLinkBack = "PLC link back";
inline constexpr const char* kNoPosition = "------------";
inline constexpr const char* kPositionMask = "###0.0";
// Creep distance used when the machine parameter is 0, millimetres.
inline constexpr std::int32_t kDefaultCreepDistance = 100;
// The most tenths the target block's two BCD words carry (eight digits).
inline constexpr std::int32_t kMaxBlockTenths = 99'999'999;
inline constexpr const char* kLogCreepClamped = "Creep Distance out of range, clamped to 0..9999999.9 mm";

enum class TransferKind { None, Read, WriteTarget, WriteOutput, WriteRelay };

struct TransferPlan {
  TransferKind kind = TransferKind::None;
  std::uint64_t imagesConnection = 0;  // the connection the images were read over
  std::int32_t value = 0;  // the pending value the write carries
  PlcWords4 block{};       // the target block, for WriteTarget
  bool creepClamped = false;  // the block carries a clamped creep distance
};

struct WriteOutcome {
  bool ran = false;     // the link was not busy
  bool ok = false;
  bool raised = false;  // the write call threw: the pending value is dropped
};

// The five reads of a read tick, in order: inputs, outputs, relays,
// position, target register.
inline constexpr int kScanReads = 5;
struct TransferResult {
  // What was done: the plan, or a read instead of a planned write when the
  // connection was made afresh since the images were read.
  TransferKind done = TransferKind::None;
  std::array<ReadOutcome, kScanReads> reads{};
  WriteOutcome write;
  LinkHealth health;
  std::string cause;            // the link's last error, when lost
  std::uint64_t connection = 0;  // the connection the transfer ran over
  double milliseconds = 0;       // how long the transfer took
};

// The most transfers one tick makes when a hand-over is written in the
// tick that read it: the read, the target block, the output word, the
// relay word.
inline constexpr int kMaxTransfersPerTick = 4;

// Nothing when the link is closed; reads when nothing is pending;
// otherwise the target block, then the output word, then the relay word.
TransferPlan PrepareTransfer(const PlcState& state, const CellGrid& macPar, bool linkOpen);

TransferResult Transfer(PlcLink& link, const TransferPlan& plan);

// Images, displays, log lines; a pending write is cleared only if it still
// holds the value that was written. A read made afresh after the link came
// back clears a pending word the PLC already holds and drops one whose
// basis the PLC no longer holds; a hand-over's relay word takes its target
// with it, and the hand-over is made again while the PLC still asks for it.
void ApplyTransfer(PlcState& state, const TransferPlan& plan, const TransferResult& result);

// Whether the transfer went through as planned: every read ran, or the
// PLC took the word, over the connection the plan was made for.
bool WentThrough(const TransferPlan& plan, const TransferResult& result);
// With the hand-over in one tick: whether the tick writes `next` at once
// after `done`. Only a write follows, and only a transfer that went
// through; a read waits for the next tick.
bool WritesOnInSameTick(const TransferPlan& done, const TransferResult& result, const TransferPlan& next);

// Milliseconds the transfers of one tick keep a serial line busy: a read
// tick (the images read and confirmed, the position and target
// registers) or a target block; with the hand-over in one tick, the read
// followed by the target block, the output word and the relay word.
int ScanTickWireMs(const SerialLine& line, bool handOverInOneTick);

struct CreepDistance {
  std::int32_t tenths = 0;
  bool clamped = false;  // out of what the target block carries
};
// Creep distance in tenths of a mm from the machine parameters, clamped to
// 0..kMaxBlockTenths.
CreepDistance CreepTenths(const CellGrid& macPar);

}  // namespace orl
