#include "saw/plc/scan_sequence.h"

#include "saw/cutlist/cut_list.h"
#include "saw/plc/attempt.h"
#include "saw/plc/label_file.h"
#include "saw/plc/operator_alert.h"
#include "saw/plc/register_map.h"
#include "saw/shell/path_parts.h"

namespace orl {
namespace {

void SetToBeginning(PlcState& state, ScanHost& host) {
  if (!RelayBit(state, kRelaySetToBeginning)) return;
  if (!host.MakePositions(state.positions)) {
    state.PosIndex = -1;  // 700 stays on, so the list is rebuilt every tick
    return;
  }
  state.PosIndex = 0;
  ++state.Restarts;
  // The new list's first target is owed to the PLC even when the previous
  // run ended with "Send Next Pos" held on.
  state.PosSent = false;
  host.SetCurrentCell(kTotalRow, PositionColumnOfGroup(1));
  host.HiLiteCell(0, 0);
  SetRelayBit(state, kRelaySetToBeginning, false);
}

void SendManualPosition(PlcState& state, ScanHost& host) {
  state.TargetWrite = ManualTarget(state.manual, host.MacPar());
  if (state.manual.ManGrv) SetRelayBit(state, kRelayGroove, true);
  SetRelayBit(state, kRelayManualPos, true);
  SetRelayBit(state, kRelaySendNextPos, false);
  SetRelayBit(state, kRelaySetToBeginning, false);
  state.PosIndex = UpperBound(state.positions) + 1;  // the automatic list counts as finished
  host.HiLiteCell(0, 0);
  state.ManualSend = false;
  state.manual.ManPosColor = kManPosTakenColor;
  ++state.HandOvers;
  state.HandOverUnconfirmed = true;
  state.LastHandOver = {state.PosIndex, PosEntry{state.TargetWrite, 0, 0, false, state.manual.ManGrv}, false, true};
}

// A label file that cannot be written never stops the cycle; the label
// waits and is written before the next one. The log says so once when the
// file fails (a line kept while it fails) and once when it works again.
void WriteWaitingLabels(PlcState& state, ScanHost& host, const std::string& path) {
  const bool written = state.labels.WriteOut([&](const std::string& label) {
    bool whole = false;
    Attempt([&] { whole = host.AppendLabelLine(path, label); });
    return whole;
  });
  if (written == !state.LabelFileFailing) return;
  state.LabelFileFailing = !written;
  if (written) {
    state.log.Release(state.LabelFailedLine);
    state.LabelFailedLine = 0;
    state.log.LogComm(kLogLabelFileBack + path);
  } else {
    state.LabelFailedLine = state.log.LogKept(kLogLabelFileFailed + path);
  }
}

void WriteBookLabel(PlcState& state, ScanHost& host, const PosEntry& entry) {
  const auto label = host.BookLabel(entry.CellRow, GroupOfColumn(entry.CellCol), host.SelectedBook());
  const bool fresh = label && !label->empty() && *label != state.LastBookLabel;
  if (label && !label->empty()) state.LastBookLabel = *label;
  const std::string path = TrimBlanks(host.LabelFilePath());
  if (!IsValidFileName(path)) return;
  if (fresh && state.labels.Add(*label) > 0) state.log.LogRepeating(kLogLabelDropped);
  if (!state.labels.Empty()) WriteWaitingLabels(state, host, path);
}

void HandOverNext(PlcState& state, ScanHost& host) {
  if (state.PosIndex < 0 || state.PosSent) return;
  ++state.PosIndex;
  const int upper = UpperBound(state.positions);
  if (state.PosIndex > upper || upper <= 1) {
    Attempt([&] { host.HiLiteCell(0, 0); });
    Attempt([&] { host.AdvBooks(); });
    state.PosSent = true;
    return;
  }
  const PosEntry entry = state.positions[state.PosIndex];
  // The display calls may fail without losing the entry being handed over.
  Attempt([&] { host.SetCurrentCell(entry.CellRow, entry.CellCol); });
  Attempt([&] { host.HiLiteCell(entry.CellRow, entry.CellCol); });
  state.TargetWrite = entry.Target;
  SetRelayBit(state, kRelayNewBoard, entry.NewBoard);
  SetRelayBit(state, kRelayGroove, entry.GrooveStroke);
  if (state.PosIndex == upper) SetRelayBit(state, kRelayLastCut, true);
  SetRelayBit(state, kRelayManualPos, false);
  SetRelayBit(state, kRelaySendNextPos, false);
  Attempt([&] { WriteBookLabel(state, host, entry); });
  state.PosSent = true;
  ++state.HandOvers;
  state.HandOverUnconfirmed = true;
  state.LastHandOver = {state.PosIndex, entry, state.PosIndex == upper, false};
}

// Steps 3 to 5: serve "Send Next Pos" with a manual position or the next
// entry of the list.
void ServeSendNextPos(PlcState& state, ScanHost& host) {
  if (!RelayBit(state, kRelaySendNextPos) && state.PosIndex != 0) {
    state.PosSent = false;
    return;
  }
  // The PLC waits a tick or so rather than get ahead of the history.
  if (!host.RecordsCaughtUp()) return;
  if (state.ManualSend) {
    SendManualPosition(state, host);
    return;
  }
  HandOverNext(state, host);
}

}  // namespace

void Sequence(PlcState& state, ScanHost& host) {
  state.CmAtvty = state.LinkLost ? kActivityNotAnswering : kActivityIdle;
  Attempt([&] { SetToBeginning(state, host); });
  Attempt([&] { ServeSendNextPos(state, host); });
  Attempt([&] {
    if (RelayBit(state, kRelayPositionSent)) host.HiLiteCell(0, 0);
  });
  Attempt([&] { host.SetProgrammingDisabled(RelayBit(state, kRelayDisableProgramming)); });
  Attempt([&] { state.Alert = OperatorAlert(state); });
}

}  // namespace orl
