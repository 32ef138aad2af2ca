#include "saw/workstation/cut_recording.h"

#include <chrono>

#include "saw/optimizer/books.h"
#include "saw/shell/number_text.h"
#include "saw/workstation/workstation.h"

namespace orl {

void CutRecording::Attach(std::unique_ptr<Recorder> recorder) {
  recorder_ = std::move(recorder);
  // What happened before the recorder came is not recorded afterwards.
  handOversSeen_ = ws_.plc_.HandOvers;
  restartsSeen_ = ws_.plc_.Restarts;
  noted_.reset();
  ReportState();
}

bool CutRecording::CaughtUp() const { return !recorder_ || recorder_->CaughtUp(); }

void CutRecording::AfterSequence() {
  if (!recorder_) return;
  const PlcState& plc = ws_.plc_;
  if (plc.Restarts != restartsSeen_) {
    restartsSeen_ = plc.Restarts;
    restart_ = RestartRecord();
  }
  if (plc.HandOvers == handOversSeen_) return;
  handOversSeen_ = plc.HandOvers;
  // A hand-over made again (its relay word was dropped) replaces the one
  // noted before: only what the PLC took is recorded.
  noted_ = HandOverRecord();
  notedHandOver_ = plc.HandOvers;
}

void CutRecording::AfterTransfer() {
  if (!recorder_) return;
  if (noted_ && ws_.plc_.HandOversConfirmed >= notedHandOver_) {
    RecordRestart();
    if (noted_->group > 0) groupBeingCut_ = noted_->group;
    recorder_->Record(std::move(*noted_));
    noted_.reset();
  }
  ReportState();
}

void CutRecording::Housekeep() {
  if (!recorder_) return;
  if (!noted_) RecordRestart();  // a restart no hand-over followed
  for (const std::string& line : recorder_->Housekeep()) ws_.plc_.log.LogComm(line);
  ReportState();
}

CutRecord CutRecording::HandOverRecord() const {
  const PlcState::HandOver& handOver = ws_.plc_.LastHandOver;
  const PosEntry& entry = handOver.entry;
  const CutList& list = ws_.cutList_;
  CutRecord record;
  record.program = list.DispFName;
  record.description = list.Desc;
  record.target = entry.Target;
  record.groove = entry.GrooveStroke;
  if (handOver.Manual) {
    const ManualPosition& manual = ws_.plc_.manual;
    record.kind = CutKind::Manual;
    record.length = manual.ManPos;
    record.unit = manual.MUnits == kManualInch ? "in" : "mm";
    return record;
  }
  record.row = entry.CellRow;
  record.column = entry.CellCol;
  record.group = GroupOfColumn(entry.CellCol);
  record.newBoard = entry.NewBoard;
  record.length = list.grid.Text(entry.CellRow, entry.CellCol);
  record.unit = list.InchSelected() ? "in" : "mm";
  record.part = ws_.cutBookLabels_.PartLabel(entry.CellRow, record.group);
  // The book the label file was given: the selection before it advances.
  const std::vector<std::string>* labels = ws_.cutBookLabels_.At(entry.CellRow, record.group);
  const int book = SelectedBook(ws_.optimizerView_);
  if (labels && book >= 1 && book < static_cast<int>(labels->size())) record.book = (*labels)[book];
  return record;
}

void CutRecording::RecordRestart() {
  if (!restart_) return;
  recorder_->Record(std::move(*restart_));
  restart_.reset();
}

CutRecord CutRecording::RestartRecord() const {
  CutRecord record;
  record.kind = CutKind::Restart;
  record.timeMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::system_clock::now().time_since_epoch()).count();
  record.program = ws_.cutList_.DispFName;
  record.description = ws_.cutList_.Desc;
  return record;
}

SawState CutRecording::State() const {
  const bool linkUp = ws_.link_ && !ws_.plc_.LinkLost;
  return SawState{ws_.cutList_.DispFName, groupBeingCut_, linkUp};
}

void CutRecording::ReportState() {
  const SawState now = State();
  if (reported_ == now) return;
  reported_ = now;
  recorder_->StateChanged(now);
}

}  // namespace orl
