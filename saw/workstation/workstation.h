#pragma once
// The whole program's state as plain data, and one method per operator or
// timer event. The desktop program forwards its events here and renders
// the state; orl-tool and the tests drive it directly.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "saw/cutlist/cut_list.h"
#include "saw/cutlist/job_folders.h"
#include "saw/cutlist/pattern_load.h"
#include "saw/cutlist/positions.h"
#include "saw/history/history_browser.h"
#include "saw/optimizer/optimizer_model.h"
#include "saw/optimizer/optimizer_view.h"
#include "saw/plc/link_factory.h"
#include "saw/plc/plc_link.h"
#include "saw/plc/plc_state.h"
#include "saw/plc/scan_transfer.h"
#include "saw/shell/cell_grid.h"
#include "saw/shell/clock.h"
#include "saw/shell/file_list.h"
#include "saw/shell/file_system.h"
#include "saw/shell/machine_parameters.h"
#include "saw/shell/profile_file.h"
#include "saw/shell/ui.h"
#include "saw/workstation/cut_recording.h"
#include "saw/workstation/scan_cycle.h"

namespace orl {

inline constexpr const char* kPathError = "Path error. Check path specifications.";
inline constexpr const char* kDriveNotReady = "Drive not ready. Check Path.";
inline constexpr const char* kMainCaption = "ORL   ";

enum Tab { kProgramControlTab = 0, kImportTab = 1, kParametersTab = 2, kDiagnosticsTab = 3, kHistoryTab = 4 };

class Workstation {
 public:
  Workstation(Ui& ui, const FileSystem& fileSystem, const Clock& clock);
  virtual ~Workstation() = default;

  // --- Life cycle -------------------------------------------------------
  // The start-up steps that need no window: the settings file, the cut
  // list layout and the PLC port number and line settings. Relative folders
  // in the settings are taken from the settings file's folder, which
  // becomes the current folder.
  void StartUp(const std::filesystem::path& settingsFile);
  // Every activation of the main window.
  void Activate();
  // The housekeeping timer: keeps the visible file list current and the
  // history trimmed.
  void HousekeepingTick();
  // Opens the PLC link (the simulated PLC when simulate is set or the
  // settings ask for it) and readies the PLC state. On failure the operator
  // sees the port-in-use box and false is returned: the program must end.
  bool OpenPlc(bool simulate);
  // The same with a link chosen by the caller, timed by `linkClock` (a
  // simulated PLC may run in scan time rather than wall time).
  bool OpenPlc(const PlcLinkSpec& linkChoice, const Clock& linkClock);
  // The same on a link the caller made (a host's own link, or a test's).
  bool OpenPlc(std::unique_ptr<PlcLink> link);
  // From now on a transfer thread beside the caller's thread reaches the
  // link too: every call on it is serialized.
  void ShareLinkWithTransferThread();
  // From now on every hand-over the PLC takes is recorded there, and the
  // next one waits until its record is committed.
  void AttachRecorder(std::unique_ptr<Recorder> recorder);
  // The record of the last hand-over is committed: the next may be served.
  bool RecordsCaughtUp() const { return recording_.CaughtUp(); }
  // The window is closing; every step that fails is skipped.
  void End();

  // --- Scan timer -------------------------------------------------------
  // One whole tick of the scan cycle (below) on the caller's thread.
  // Once the scan timer is off (the end sequence), a tick does nothing.
  void ScanTick();
  // The steps of a tick, which the scan cycle puts together: prepare
  // decides what to transfer (nothing while the link is closed), apply
  // brings the transfer's outcome back, sequence answers the relays.
  TransferPlan PrepareScan();
  void ApplyScan(const TransferPlan& plan, const TransferResult& result);
  void SequenceScan();

  // --- Parameters tab ---------------------------------------------------
  // The operator finished editing a cell (refused when the cell takes no
  // such text) or moved the grid's cursor.
  bool MacParCellEdited(int row, int column, const std::string& text);
  bool PthParCellEdited(int row, int column, const std::string& text);
  void MacParCellMoved(int row, int column);
  void PthParCellMoved(int row, int column);
  void MacParLostFocus();
  void PthParLostFocus();
  void PthParButtonClicked(int row, int column);
  void PthParKeyPress(int keyCode);
  void UnitsClicked(int unitIndex);

  // --- Cut list ---------------------------------------------------------
  // The operator finished editing (row, column) with `text`: stored when the
  // cell takes it, then the list reacts. Returns whether it was stored.
  bool CutListCellEdited(int row, int column, const std::string& text);
  void CutListEditFinished(int row, int column);
  void CutListCellMoved(int row, int column);
  // The operator selected cells spanning these columns (0, 0 for none): a
  // span of two or more columns is the block whose groups a run cuts.
  void CutListSelectionChanged(int firstColumn, int lastColumn);
  // The groups a run cuts, chosen as the operator would: the cursor to the
  // first column's board, and a block when the span is wider than a column.
  void ChooseColumnsForRun(int firstColumn, int lastColumn);
  void CutListKeyDown();
  // A group's total and remainders computed afresh as typing its first cut
  // would, without an edit (an empty row gets no quantity of 1).
  void RecomputeGroup(int group);
  void DescChanged(const std::string& text);
  void ClearClicked();
  void GrvMouseDown();
  void GrvClicked();
  void StrokeClicked();
  void RmdrClicked();

  // --- Cut programs and job folders ------------------------------------
  // A file that is no cut program is refused with a warning; the list keeps
  // the program it had.
  bool ProgramClicked(const std::string& fileName);
  // The entry of the program list that is in the cut list (-1: none).
  int ShownProgramIndex() const;
  // A cut program named when the program starts (as a desktop program
  // opens the file it is given): the program list shows its folder and it
  // loads as a click there would load it.
  bool OpenProgram(const std::filesystem::path& file);
  bool SaveClicked();
  void JobBrsClicked();
  void Dir1Changed(const std::string& folder);
  // An entry of the job folder list was opened: a subfolder, or ".." for
  // the folder above.
  void Dir1EntryOpened(const std::string& entry);
  void TabClicked(int tab);

  // --- Optimizer import -------------------------------------------------
  bool OptimizerFileClicked(const std::string& fileName);
  // Patterns an optimizer handed over other than in a file of the job
  // folder: shown as a file's patterns are, the first one chosen.
  void PatternsRead(OptimizerModel patterns);
  // The entry of the optimizer file list whose patterns are shown (-1: none).
  int ShownOptimizerFileIndex() const;
  // The warnings of the last optimizer file read (a click in the file list
  // or "Show Loaded Pattern"), for the Import tab to list without a box.
  const std::vector<std::string>& LastImportWarnings() const { return lastImportWarnings_; }
  void PatClicked(int index);
  // The pattern numbered `patNo` chosen as a click on its entry would
  // choose it; false when the file has no such pattern.
  bool PatternNumberChosen(std::int16_t patNo);
  bool LoadPatternClicked();
  void ShowLoadedPatternClicked();
  void BookClicked(int index);
  // The cut-sequence step bar moved.
  void StepBarChanged(int value);
  void ShowNextClicked();

  // --- Positions and the cut being made -----------------------------------
  // A list too long to make is refused with a warning, once until a list
  // can be made again.
  bool MakePositions(PosList& positions);
  void HiLite(int row, int column);
  // "Disable Programming" from the PLC locks the cut list's controls.
  void SetProgrammingDisabled(bool disabled);

  // --- PLC diagnostics ----------------------------------------------------
  void DigIOClicked(int row, int column);
  // The "Manual Position" frame: the typed position, its boxes and units.
  void ManualPositionEdited(const std::string& text);
  void ManualTemplateLengthClicked(bool ticked);
  void ManualClampLengthClicked(bool ticked);
  void ManualUnitsClicked(int unitIndex);
  void ManualGrooveClicked(bool ticked);
  void ManualSendClicked();
  // "Clear" beside the communication log.
  void ClearLogClicked();
  // Someone beside the window follows the communication log line by line.
  void FollowCommunicationLog(CommLog::LineObserver observer);

  // --- History tab --------------------------------------------------------
  // The tab came up: today's records the first time, the newest since after.
  void HistoryShown();
  // The operator chose the days from..until ("YYYY-MM-DD", both included);
  // a day that is no date is refused and the range stays.
  bool HistoryRangeChosen(const std::string& fromDay, const std::string& untilDay);
  // The operator scrolled to the oldest record read so far.
  void HistoryScrolledToEnd();
  // "Export CSV…": the range to a file the operator names.
  void HistoryExportClicked();
  // What the tab shows (empty until it was first shown).
  HistoryView historyView() const;
  // Changes whenever historyView() does: the tab copies the view only then.
  std::uint64_t historyVersion() const { return history_ ? history_->Version() : 0; }
  // The housekeeping tick while the tab is shown: the records cut since,
  // when the range reaches up to now.
  void RefreshShownHistory();

  // --- State, read only: every change comes through an event above -------
  const ProfileFile& settings() const { return settings_; }
  bool ScanTimerEnabled() const { return ScanTimerEnabled_; }
  // The next activation comes back from a chooser: it reloads nothing.
  bool SkipNextActivate() const { return SkipNextActivate_; }
  int MaxLogLen() const { return MaxLogLen_; }
  bool AbsoluteMode() const { return AbsoluteMode_; }
  std::int32_t RunningPos() const { return RunningPos_; }
  const CellGrid& MacPar() const { return MacPar_; }
  const CellGrid& PthPar() const { return PthPar_; }
  const CutList& cutList() const { return cutList_; }
  const FileList& File1() const { return File1_; }  // cut programs
  const JobBrowser& jobs() const { return jobs_; }
  const OptimizerModel& optimizer() const { return optimizer_; }
  const OptimizerView& optimizerView() const { return optimizerView_; }
  const CutBookLabels& cutBookLabels() const { return cutBookLabels_; }
  bool ShowNext() const { return ShowNext_; }  // "Show Next" ticked
  const Control& ManGrv() const { return ManGrv_; }
  const Control& ManFrame() const { return ManFrame_; }
  const Control& FrameCommLog() const { return FrameCommLog_; }
  const PlcState& plc() const { return plc_; }
  PlcLink* link() const { return link_.get(); }
  int SSTab1() const { return SSTab1_; }
  const std::string& caption() const { return caption_; }
  // What a scan tick does; the desktop program's timer and orl-tool's loop
  // only drive it.
  ScanCycle& scanCycle() { return scanCycle_; }

 protected:
  void ApplyStartUpSettings();
  // Settings read afresh from the settings file.
  std::string Setting(const char* section, const char* key) const;
  int GrooveColumnsSetting() const;
  bool HandOverInOneTickSetting() const;
  std::string RemovableFolder() const;
  bool JobDriveReady(const std::string& folder) const;
  std::string JobFolder() const { return PthPar_.Text(kJobsRow, kPathColumn); }
  std::string ArdisPath() const { return PthPar_.Text(kArdisDataRow, kPathColumn); }
  void FollowGroupInPreview(int group);
  // Opens the link; `wireFloorMs` is what one tick's transfers take on its line.
  bool OpenPlcOn(std::unique_ptr<PlcLink> link, int wireFloorMs);
  void KeepImportWarnings(const std::string& fileName);

 private:
  // The scan cycle and its sequencing host are the workstation's own parts.
  friend class ScanCycle;
  friend class ScanHostAdapter;
  friend class CutRecording;

  Ui& ui_;
  const FileSystem& fileSystem_;
  const Clock& clock_;

  ProfileFile settings_{""};
  bool SkipNextActivate_ = false;
  // The scan timer runs from start-up until the end sequence stops it; the
  // window's timer fires only while it is on.
  bool ScanTimerEnabled_ = true;
  int MaxLogLen_ = 0;
  bool AbsoluteMode_ = false;

  CellGrid MacPar_;
  CellGrid PthPar_;
  CutList cutList_;
  std::int32_t RunningPos_ = 0;

  FileList File1_;
  JobBrowser jobs_;
  OptimizerModel optimizer_;
  OptimizerView optimizerView_;
  CutBookLabels cutBookLabels_;
  bool ShowNext_ = false;
  Control ManGrv_, ManFrame_, FrameCommLog_;
  PlcState plc_;
  std::unique_ptr<PlcLink> link_;
  ScanCycle scanCycle_{*this};
  CutRecording recording_{*this};
  std::unique_ptr<HistoryBrowser> history_;  // made when the tab is first shown
  int SSTab1_ = kProgramControlTab;
  std::string caption_ = kMainCaption;

  std::vector<std::string> lastImportWarnings_;
  bool positionListRefused_ = false;  // the last MakePositions found the list too long
};

}  // namespace orl
