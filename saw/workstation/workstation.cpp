#include "saw/workstation/workstation.h"

#include <algorithm>

#include "saw/cutlist/cut_list_editing.h"
#include "saw/cutlist/cut_program_files.h"
#include "saw/optimizer/pattern_browser.h"
#include "saw/shell/cell_rules.h"
#include "saw/shell/machine_parameters.h"
#include "saw/shell/orl_settings.h"
#include "saw/shell/path_parts.h"

namespace orl {
namespace {

constexpr const char* kDefaultRemovableFolder = "/media";

// A check box click: unticked becomes ticked, ticked or grey becomes unticked.
int Toggled(int value) { return value == 0 ? 1 : 0; }

constexpr const char* kTooManyPositionsHead = "This cut list needs more than ";
constexpr const char* kTooManyPositionsTail =
    " saw positions. Nothing was sent to the saw: lower the quantities or check the grooves and the Saw Kerf.";

constexpr const char* kNotACutProgram = " is not a cut program, or it cannot be read. The cut list is unchanged.";

std::string PositionListTooLongText() {
  return kTooManyPositionsHead + std::to_string(kMaxPosEntries) + kTooManyPositionsTail;
}

}  // namespace

Workstation::Workstation(Ui& ui, const FileSystem& fileSystem, const Clock& clock)
    : ui(ui), fileSystem(fileSystem), clock(clock), MacPar(MakeMacParGrid()), PthPar(MakePthParGrid()) {
  cutList.Grv.visible = cutList.Stroke.visible = cutList.Rmdr.visible = false;
  ManGrv.visible = ManFrame.visible = FrameCommLog.visible = false;
}

std::string Workstation::Setting(const char* section, const char* key) const {
  return settings.ReadSetting(section, key);
}

int Workstation::GrooveColumnsSetting() const {
  return ColumnModeSetting(Setting(section::kConfiguration, key::kGrooveColumns));
}

std::string Workstation::RemovableFolder() const {
  const std::string folder = Setting(section::kSystem, key::kRemovablePath);
  return folder.empty() ? kDefaultRemovableFolder : folder;
}

bool Workstation::JobDriveReady(const std::string& folder) const {
  return DriveReady(fileSystem, folder, RemovableFolder());
}

// --- Parameters tab -------------------------------------------------------

bool Workstation::MacParCellEdited(int row, int column, const std::string& text) {
  return EditCell(MacPar, row, column, text);
}

bool Workstation::PthParCellEdited(int row, int column, const std::string& text) {
  return EditCell(PthPar, row, column, text);
}

void Workstation::MacParCellMoved(int row, int column) { MacPar.MoveCursor(row, column); }

void Workstation::PthParCellMoved(int row, int column) { PthPar.MoveCursor(row, column); }

void Workstation::MacParLostFocus() { SaveMachineParameters(MacPar, settings); }

void Workstation::PthParLostFocus() { SavePaths(PthPar, settings); }

void Workstation::PthParButtonClicked(int row, int column) {
  if (column != kBrowseColumn || row < 1 || row > PthPar.Rows()) return;
  const std::string dirBoxPath = PthPar.Text(row, kPathColumn);
  SkipNextActivate = true;  // the activation after the chooser must not reload the grids
  const std::string chosen = ui.ChooseDirectory(dirBoxPath);
  ui.PumpEvents();
  if (!ApplyChosenFolder(PthPar, row, chosen, RemovableFolder())) return;
  PthParLostFocus();  // a chosen folder is kept at once, not only when the grid is left
  if (row == kProgramsRow && fileSystem.FolderExists(chosen)) {
    File1.folder = chosen;
    File1.Refresh(fileSystem);
  }
}

void Workstation::PthParKeyPress(int keyCode) {
  constexpr int kEnter = 13;
  if (keyCode == kEnter) PthParButtonClicked(PthPar.CursorRow(), PthPar.CursorColumn());
}

void Workstation::UnitsClicked(int unitIndex) { SelectUnits(cutList, unitIndex); }

// --- Cut list ---------------------------------------------------------------

bool Workstation::CutListCellEdited(int row, int column, const std::string& text) {
  if (!cutList.gridEnabled) return false;  // the PLC disables programming
  if (row == kDescRow && column == kDescColumn) {
    DescChanged(text);
    return true;
  }
  if (!EditCell(cutList.grid, row, column, text)) return false;
  CutListEditFinished(row, column);
  return true;
}

void Workstation::CutListEditFinished(int row, int column) {
  CellEditFinished(cutList, MacPar, row, column, GrooveColumnsSetting());
}

void Workstation::CutListCellMoved(int row, int column) {
  cutList.grid.MoveCursor(row, column);
  if (const auto group = CurrentCellMoved(cutList, column)) FollowGroupInPreview(*group);
}

void Workstation::CutListSelectionChanged(int firstColumn, int lastColumn) {
  if (firstColumn > 0 && lastColumn > firstColumn) cutList.grid.SetBlockSelection(firstColumn, lastColumn);
  else cutList.grid.ClearBlockSelection();
}

void Workstation::ChooseColumnsForRun(int firstColumn, int lastColumn) {
  CutListCellMoved(kTotalRow, firstColumn);
  CutListSelectionChanged(firstColumn, lastColumn);
}

void Workstation::FollowGroupInPreview(int group) { FollowCutGroup(optimizer, optimizerView, group); }

void Workstation::CutListKeyDown() { KeyDownInGrid(cutList); }

void Workstation::DescChanged(const std::string& text) { orl::DescChanged(cutList, text); }

void Workstation::ClearClicked() {
  if (!AskAndClearCutList(ui, cutList, File1, fileSystem)) return;
  cutBookLabels.Clear();  // the next run must not print the old pattern's labels
  optimizerView.BtnLdPatEnabled = false;
  optimizerView.ShNxtEnabled = false;
  optimizer.LoadedPatternKey.clear();
}

void Workstation::GrvMouseDown() {
  settings.WriteSetting(section::kConfiguration, key::kGrooveColumns, std::to_string(Toggled(cutList.Grv.value)));
}

void Workstation::GrvClicked() {
  cutList.Grv.value = Toggled(cutList.Grv.value);
  GrooveCol(cutList);
}

void Workstation::StrokeClicked() {
  cutList.Stroke.value = Toggled(cutList.Stroke.value);
  StrokeCol(cutList);
  settings.WriteSetting(section::kConfiguration, key::kStrokeColumns, std::to_string(cutList.Stroke.value));
}

void Workstation::RmdrClicked() {
  cutList.Rmdr.value = Toggled(cutList.Rmdr.value);
  RmdrCol(cutList);
  settings.WriteSetting(section::kConfiguration, key::kRemainderColumns, std::to_string(cutList.Rmdr.value));
}

// --- Cut programs and job folders ----------------------------------------

bool Workstation::ProgramClicked(const std::string& fileName) {
  const bool loaded = LoadCutProgram(cutList, File1, fileName, GrooveColumnsSetting());
  if (!loaded) {
    Warn(ui, fileName + kNotACutProgram);
    return false;
  }
  optimizerView.ImpFrameVisible = false;
  cutBookLabels.Clear();  // a program has no book labels of its own
  return true;
}

bool Workstation::OpenProgram(const std::filesystem::path& file) {
  const std::filesystem::path absolute = std::filesystem::absolute(file);
  if (!fileSystem.FolderExists(absolute.parent_path().string())) return false;
  File1.folder = absolute.parent_path().string();
  File1.Refresh(fileSystem);
  return ProgramClicked(absolute.filename().string());
}

int Workstation::ShownProgramIndex() const {
  const auto& entries = File1.entries;
  const auto found = std::find(entries.begin(), entries.end(), cutList.DispFName);
  return cutList.DispFName.empty() || found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
}

bool Workstation::SaveClicked() { return SaveCutList(cutList, File1, fileSystem, ui); }

void Workstation::JobBrsClicked() {
  SkipNextActivate = true;
  ToggleRemovableMedia(jobs, JobFolder(), RemovableFolder(), fileSystem, ui);
}

void Workstation::Dir1Changed(const std::string& folder) { ShowJobFolder(jobs, folder, fileSystem); }

void Workstation::Dir1EntryOpened(const std::string& entry) {
  const auto folder = (std::filesystem::path(WithForwardSlashes(jobs.Dir1)) / entry).lexically_normal();
  std::string text = folder.string();
  if (text.size() > 1 && text.back() == '/') text.pop_back();
  Dir1Changed(text);
}

void Workstation::TabClicked(int tab) {
  SSTab1 = tab;
  if (JobDriveReady(jobs.Dir1)) jobs.Dir1Entries = fileSystem.ListFolders(jobs.Dir1);
}

bool Workstation::MakePositions(PosList& positions) {
  bool tooLong = false;
  const bool result = orl::BuildPositionList(cutList, MacPar, AbsoluteMode, RunningPos, positions, &tooLong);
  // The scan loop rebuilds on every tick while the PLC holds "Set To
  // Beginning": one box per refused list. Marked before the box opens, in
  // case a tick runs while it is shown.
  const bool warn = tooLong && !positionListRefused_;
  positionListRefused_ = tooLong;
  if (warn) Warn(ui, PositionListTooLongText());
  return result;
}

void Workstation::HiLite(int row, int column) {
  // "Group:" names the group being cut, and "Show Loaded Pattern" opens it.
  if (row > kSawStrokeRow && column > 0) cutList.CNum = std::to_string(GroupOfColumn(column));
  if (const auto group = HiLiteCell(cutList, row, column, ShowNext)) FollowGroupInPreview(*group);
}

void Workstation::SetProgrammingDisabled(bool disabled) {
  for (Control* control : {&cutList.UnitFrame, &cutList.ClrLst, &cutList.SaveBtn, &cutList.DescBox})
    control->enabled = !disabled;
  File1.enabled = !disabled;
  cutList.Stroke.enabled = cutList.Rmdr.enabled = !disabled;
  cutList.gridEnabled = !disabled;
  if (disabled) cutList.Grv.enabled = false;
  else GrvCk(cutList, GrooveColumnsSetting());
}

}  // namespace orl
