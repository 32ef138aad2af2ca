#pragma once
// The simulated saw PLC: a model of the PLC program behind the register
// map, so the whole cycle runs with no machine. It raises "Set To
// Beginning" at start, asks for targets with "Send Next Pos", moves the
// pusher to each target it is given (slow within the creep distance),
// makes the cut, reports "Position Sent", and after the last cut pulses
// "Program End", pauses and starts the next run. It works directly on a
// Modbus holding-register table, so the same model serves the in-process
// link and the Modbus server.
//
// As the PLC program of a real saw does, it takes the BCD target block
// into binary as it takes a target and keeps it in the target register,
// which then reads back as a plain number. "Disable Programming" is held
// while it runs a list; when the program answers a request with nothing
// (it cleared "Set To Beginning" without writing a target, or reads "Send
// Next Pos" again and again without answering) the saw has nothing to cut:
// it releases programming, pauses and starts again from the beginning.
#include <cstdint>
#include <span>
#include <vector>

#include "saw/shell/clock.h"

namespace orl {

// Registers 0 .. V40634 (16796) and a little room.
inline constexpr int kSimRegisterCount = 16800;

// Outputs the PLC program drives (bit numbers of the output word).
enum SimOutput { kOutSlow = 0, kOutReverse = 1, kOutCut = 2, kOutGroove = 3, kOutProgramEnd = 4 };

struct SawSimConfig {
  bool absolute = true;         // targets are positions; otherwise moves
  double speed = 20000;         // pusher speed, tenths of a mm per second
  double creepSpeed = 2000;     // within the creep distance
  double cutSeconds = 0.4;      // how long "Cut" stays on
  double endPauseSeconds = 2.0; // "Program End" until the next run starts
};

// Reads of the relay word while "Send Next Pos" is on, with no write in
// between, after which the program is taken to have nothing to cut. A
// program that has a target writes it after one read tick (two confirmed
// reads); this is five such ticks.
inline constexpr int kUnansweredRelayReads = 10;

// One target the model took from the target block.
struct SimTarget {
  std::int32_t target;  // as written (BCD decoded)
  std::int32_t goal;    // the position it moved to
  bool newBoard, groove, lastCut, manual;
};

class SawPlcModel {
 public:
  SawPlcModel(std::span<std::uint16_t> registers, SawSimConfig config, const Clock& clock);

  // Brings the model up to the clock's time. Call before every access.
  void Advance();

  // The link or server tells the model which holding registers a request
  // read or wrote (Modbus register numbers), after it was served.
  void NoteRead(int firstRegister, int count);
  void NoteWrite(int firstRegister, int count);

  const std::vector<SimTarget>& TargetsTaken() const { return taken_; }
  int RunsCompleted() const { return runs_; }
  double Position() const { return position_; }

 private:
  enum class Phase { Starting, WaitBeginning, WaitTarget, Moving, Cutting, ProgramEnd, NothingToCut };

  void Step(double dt, double& used);
  void TakeTarget();
  void Move(double dt, double& used);
  void Arrive();
  void FinishCut();
  void StartNextRun();
  void ReleaseProgramming();
  void StartOver();
  void KeepTargetAsBinary();

  std::uint16_t& Reg(int plcAddress);
  bool Relay(int relay);
  void SetBit(int plcAddress, int bit, bool on);
  void SetRelay(int relay, bool on);
  void SetOutput(int bit, bool on);
  void ShowPosition();

  std::span<std::uint16_t> registers_;
  SawSimConfig config_;
  const Clock& clock_;
  double lastTime_ = -1;
  double phaseTime_ = 0;
  Phase phase_ = Phase::Starting;
  double position_ = 0;
  double goal_ = 0;
  double creep_ = 0;
  SimTarget current_{};
  std::vector<SimTarget> taken_;
  int runs_ = 0;
  bool blockWritten_ = false;  // the target block was written since the last target was taken
  int unansweredReads_ = 0;
};

}  // namespace orl
