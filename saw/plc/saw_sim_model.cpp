#include "saw/plc/saw_sim_model.h"

#include <algorithm>
#include <cmath>

#include "saw/plc/register_map.h"

namespace orl {
namespace {
// Longest span handled in one step, so a late poll still walks every phase.
constexpr double kMaxStepSeconds = 0.05;
}

SawPlcModel::SawPlcModel(std::span<std::uint16_t> registers, SawSimConfig config, const Clock& clock)
    : registers_(registers), config_(config), clock_(clock) {}

std::uint16_t& SawPlcModel::Reg(int plcAddress) { return registers_[ModbusRegister(plcAddress)]; }

bool SawPlcModel::Relay(int relay) { return (Reg(kRelayAddress) >> RelayBitIndex(relay) & 1) != 0; }

void SawPlcModel::SetBit(int plcAddress, int bit, bool on) {
  const std::uint16_t mask = static_cast<std::uint16_t>(1u << bit);
  Reg(plcAddress) = on ? Reg(plcAddress) | mask : Reg(plcAddress) & ~mask;
}

void SawPlcModel::SetRelay(int relay, bool on) { SetBit(kRelayAddress, RelayBitIndex(relay), on); }

void SawPlcModel::SetOutput(int bit, bool on) { SetBit(kOutputAddress, bit, on); }

void SawPlcModel::ShowPosition() {
  const long tenths = std::lround(std::clamp(position_, 0.0, 65535.0));
  Reg(kPositionAddress) = static_cast<std::uint16_t>(tenths);
  // The encoder channels follow the pusher, one step per tenth.
  Reg(kInputAddress) = static_cast<std::uint16_t>((Reg(kInputAddress) & ~3u) | (tenths & 3));
}

void SawPlcModel::Advance() {
  const double now = clock_.Seconds();
  if (lastTime_ < 0) lastTime_ = now;
  double remaining = std::max(0.0, now - lastTime_);
  lastTime_ = now;
  // Every phase change is allowed to happen even when no time passed.
  for (int guard = 0; guard < 100000; ++guard) {
    const double dt = std::min(remaining, kMaxStepSeconds);
    double used = 0;
    const Phase before = phase_;
    Step(dt, used);
    remaining -= used;
    if (phase_ == before && (remaining <= 0 || used <= 0)) break;
  }
  ShowPosition();
}

void SawPlcModel::Step(double dt, double& used) {
  switch (phase_) {
    case Phase::Starting:
      SetRelay(kRelaySendNextPos, false);
      SetRelay(kRelaySetToBeginning, true);
      phase_ = Phase::WaitBeginning;
      break;
    case Phase::WaitBeginning:
      // "Set To Beginning" cleared with no target written: nothing to cut.
      if (!Relay(kRelaySetToBeginning)) {
        if (blockWritten_) TakeTarget();
        else ReleaseProgramming();
      }
      used = dt;
      break;
    case Phase::WaitTarget:
      if (!Relay(kRelaySendNextPos)) TakeTarget();
      else if (unansweredReads_ >= kUnansweredRelayReads) ReleaseProgramming();
      used = dt;
      break;
    case Phase::Moving: Move(dt, used); break;
    case Phase::Cutting:
      phaseTime_ += dt;
      used = dt;
      if (phaseTime_ >= config_.cutSeconds) FinishCut();
      break;
    case Phase::ProgramEnd:
      phaseTime_ += dt;
      used = dt;
      if (phaseTime_ >= config_.endPauseSeconds) StartNextRun();
      break;
    case Phase::NothingToCut:
      phaseTime_ += dt;
      used = dt;
      if (phaseTime_ >= config_.endPauseSeconds) StartOver();
      break;
  }
}

void SawPlcModel::NoteRead(int firstRegister, int count) {
  const int relays = ModbusRegister(kRelayAddress);
  if (firstRegister > relays || firstRegister + count <= relays) return;
  if (phase_ == Phase::WaitTarget && Relay(kRelaySendNextPos)) ++unansweredReads_;
}

void SawPlcModel::NoteWrite(int firstRegister, int count) {
  unansweredReads_ = 0;
  const int block = ModbusRegister(kTargetAddress);
  if (firstRegister < block + kTargetBlockWords && firstRegister + count > block) blockWritten_ = true;
}

// The target register keeps the target in binary, low word first, as the
// PLC program converted it.
void SawPlcModel::KeepTargetAsBinary() {
  const auto binary = static_cast<std::uint32_t>(std::max(current_.target, 0));
  Reg(kTargetAddress) = static_cast<std::uint16_t>(binary & 0xFFFF);
  Reg(kTargetAddress + 1) = static_cast<std::uint16_t>(binary >> 16);
}

// The program has nothing to cut: the cut list is the operator's again
// until the next run is asked for.
void SawPlcModel::ReleaseProgramming() {
  SetRelay(kRelaySendNextPos, false);
  SetRelay(kRelayDisableProgramming, false);
  unansweredReads_ = 0;
  phaseTime_ = 0;
  phase_ = Phase::NothingToCut;
}

void SawPlcModel::StartOver() {
  SetRelay(kRelayPositionSent, false);
  SetRelay(kRelaySetToBeginning, true);
  phase_ = Phase::WaitBeginning;
}

void SawPlcModel::TakeTarget() {
  current_.target = DecodeBcd(Reg(kTargetAddress), Reg(kTargetAddress + 1));
  creep_ = DecodeBcd(Reg(kTargetAddress + 2), Reg(kTargetAddress + 3));
  current_.newBoard = Relay(kRelayNewBoard);
  current_.groove = Relay(kRelayGroove);
  current_.lastCut = Relay(kRelayLastCut);
  current_.manual = Relay(kRelayManualPos);
  KeepTargetAsBinary();
  blockWritten_ = false;
  const bool absolute = config_.absolute || current_.manual || current_.newBoard;
  goal_ = absolute ? current_.target : position_ - current_.target;
  current_.goal = static_cast<std::int32_t>(std::lround(goal_));
  taken_.push_back(current_);
  SetRelay(kRelayPositionSent, false);
  SetRelay(kRelayDisableProgramming, true);
  SetOutput(kOutReverse, goal_ > position_);
  phase_ = Phase::Moving;
}

void SawPlcModel::Move(double dt, double& used) {
  const double distance = std::fabs(goal_ - position_);
  const bool slow = distance <= creep_;
  SetOutput(kOutSlow, slow);
  const double speed = slow ? config_.creepSpeed : config_.speed;
  // Outside the creep zone, stop at its edge so the slow part is walked.
  const double reach = slow ? distance : distance - creep_;
  const double step = std::min(reach, speed * dt);
  used = speed > 0 ? step / speed : dt;
  position_ += goal_ > position_ ? step : -step;
  if (std::fabs(goal_ - position_) < 1e-6) {
    position_ = goal_;
    Arrive();
  }
}

void SawPlcModel::Arrive() {
  SetOutput(kOutSlow, false);
  SetOutput(kOutReverse, false);
  if (current_.manual) {
    SetRelay(kRelayManualPos, false);
    SetRelay(kRelaySendNextPos, true);
    unansweredReads_ = 0;
    phase_ = Phase::WaitTarget;
    return;
  }
  SetOutput(kOutCut, true);
  SetOutput(kOutGroove, current_.groove);
  phaseTime_ = 0;
  phase_ = Phase::Cutting;
}

void SawPlcModel::FinishCut() {
  SetOutput(kOutCut, false);
  SetOutput(kOutGroove, false);
  SetRelay(kRelayPositionSent, true);
  // Asks for the next target; after the last cut the program answers with
  // the end of its list.
  SetRelay(kRelaySendNextPos, true);
  if (!current_.lastCut) {
    unansweredReads_ = 0;
    phase_ = Phase::WaitTarget;
    return;
  }
  // The list is done: the cut list is the operator's during the pause.
  SetRelay(kRelayLastCut, false);
  SetRelay(kRelayDisableProgramming, false);
  SetOutput(kOutProgramEnd, true);
  phaseTime_ = 0;
  phase_ = Phase::ProgramEnd;
}

void SawPlcModel::StartNextRun() {
  SetOutput(kOutProgramEnd, false);
  SetRelay(kRelaySendNextPos, false);
  SetRelay(kRelayDisableProgramming, false);
  SetRelay(kRelayPositionSent, false);
  SetRelay(kRelaySetToBeginning, true);
  ++runs_;
  phase_ = Phase::WaitBeginning;
}

}  // namespace orl
