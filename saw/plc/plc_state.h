#pragma once
// Everything the PLC layer keeps between ticks, as plain data: the images
// last read, the pending writes, the sequencing state, the displays it
// drives and the communication log. The workstation holds one.
#include <cstdint>
#include <string>

#include "saw/cutlist/positions.h"
#include "saw/plc/comm_log.h"
#include "saw/plc/dig_io.h"
#include "saw/plc/manual_position.h"
#include "saw/plc/pending_labels.h"

namespace orl {

inline constexpr std::int32_t kNothingPending = -1;

struct PlcState {
  // Images as last read (bit images).
  std::int32_t InputImage = 0;
  std::int32_t OutputImage = 0;
  std::int32_t RelayImage = 0;
  // Words waiting to be written; -1 = none.
  std::int32_t OutputWrite = kNothingPending;
  std::int32_t RelayWrite = kNothingPending;
  // Target waiting to be written, tenths of a mm; 0 or less = none.
  std::int32_t TargetWrite = 0;
  // The words the PLC is known to hold (last read or written): the basis a
  // pending relay or output word was computed from.
  std::int32_t RelayHeld = 0;
  std::int32_t OutputHeld = 0;
  // The connection the images were last read over (0: none yet). Once the
  // link has been made afresh, the images are read again before a pending
  // word is written, and a word whose basis has changed is dropped.
  std::uint64_t ImagesConnection = 0;
  // The relay word of the last hand-over has not reached the PLC yet.
  bool HandOverUnconfirmed = false;
  // The connection to the PLC is down (logged once, and once when back).
  bool LinkLost = false;
  std::string LinkLostCause;         // the link's own words for the loss
  CommLog::LineId LinkLostLine = 0;  // the log line that opened the loss
  // The label file could not be written (logged once, and once when it
  // can be again).
  bool LabelFileFailing = false;
  CommLog::LineId LabelFailedLine = 0;
  // Labels the file has not taken yet, oldest first; written before the
  // next label.
  PendingLabels labels;

  // Sequencing: the entry last handed over (-1 = no usable list) and
  // whether the current "Send Next Pos" request has been served.
  PosList positions = EmptyPosList();
  std::int32_t PosIndex = 0;
  bool PosSent = false;
  std::string LastBookLabel;
  bool ManualSend = false;  // the operator pressed "Send"; the loop has not taken it yet
  // Every target handed over so far (list entries and manual positions),
  // so that callers can follow the run without watching the relays.
  std::uint64_t HandOvers = 0;
  // The number (as HandOvers counts) of the last hand-over whose relay
  // word the PLC took: the hand-over is made and may be recorded.
  std::uint64_t HandOversConfirmed = 0;
  // Every restart of the list at its first entry ("Set To Beginning").
  std::uint64_t Restarts = 0;
  struct HandOver {
    std::int32_t PosIndex = 0;
    PosEntry entry;
    bool LastCut = false;
    bool Manual = false;
  } LastHandOver;

  // Displays.
  std::string CmAtvty;
  // Trouble the operator must see where the cut list is: the lost link and
  // labels that wait for the label file. Empty when there is none.
  std::string Alert;
  std::string POS;
  std::string Target;
  CellGrid DigIO = MakeDigIOGrid();
  ManualPosition manual;

  CommLog log;
};

// The relay's bit in RelayImage; false for 8, 9 and non-relays.
bool RelayBit(const PlcState& state, int relay);
// Sets (odd state: 1, -1) or clears (even state) the relay's bit in
// RelayImage and raises RelayWrite with the whole word.
void SetRelayBit(PlcState& state, int relay, int wanted);
inline void SetRelayBit(PlcState& state, int relay, bool on) { SetRelayBit(state, relay, on ? 1 : 0); }

}  // namespace orl
