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
    : ui_(ui), fileSystem_(fileSystem), clock_(clock), MacPar_(MakeMacParGrid()), PthPar_(MakePthParGrid()) {
  cutList_.Grv.visible = cutList_.Stroke.visible = cutList_.Rmdr.visible = false;
  ManGrv_.visible = ManFrame_.visible = FrameCommLog_.visible = false;
}

std::string Workstation::Setting(const char* section, const char* key) const {
  return settings_.ReadSetting(section, key);
}

int Workstation::GrooveColumnsSetting() const {
  return ColumnModeSetting(Setting(section::kConfiguration, key::kGrooveColumns));
}

std::string Workstation::RemovableFolder() const {
  const std::string folder = Setting(section::kSystem, key::kRemovablePath);
  return folder.empty() ? kDefaultRemovableFolder : folder;
}

bool Workstation::JobDriveReady(const std::string& folder) const {
  return DriveReady(fileSystem_, folder, RemovableFolder());
}

// --- Parameters tab -------------------------------------------------------

bool Workstation::MacParCellEdited(int row, int column, const std::string& text) {
  return EditCell(MacPar_, row, column, text);
}

bool Workstation::PthParCellEdited(int row, int column, const std::string& text) {
  return EditCell(PthPar_, row, column, text);
}

void Workstation::MacParCellMoved(int row, int column) { MacPar_.MoveCursor(row, column); }

void Workstation::PthParCellMoved(int row, int column) { PthPar_.MoveCursor(row, column); }

void Workstation::MacParLostFocus() { SaveMachineParameters(MacPar_, settings_); }

void Workstation::PthParLostFocus() { SavePaths(PthPar_, settings_); }

void Workstation::PthParButtonClicked(int row, int column) {
  if (column != kBrowseColumn || row < 1 || row > PthPar_.Rows()) return;
  const std::string dirBoxPath = PthPar_.Text(row, kPathColumn);
  SkipNextActivate_ = true;  // the activation after the chooser must not reload the grids
  const std::string chosen = ui_.ChooseDirectory(dirBoxPath);
  ui_.PumpEvents();
  if (!ApplyChosenFolder(PthPar_, row, chosen, RemovableFolder())) return;
  PthParLostFocus();  // a chosen folder is kept at once, not only when the grid is left
  if (row == kProgramsRow && fileSystem_.FolderExists(chosen)) {
    File1_.folder = chosen;
    File1_.Refresh(fileSystem_);
  }
}

void Workstation::PthParKeyPress(int keyCode) {
  constexpr int kEnter = 13;
  if (keyCode == kEnter) PthParButtonClicked(PthPar_.CursorRow(), PthPar_.CursorColumn());
}

void Workstation::UnitsClicked(int unitIndex) { SelectUnits(cutList_, unitIndex); }

// --- Cut list ---------------------------------------------------------------

bool Workstation::CutListCellEdited(int row, int column, const std::string& text) {
  if (!cutList_.gridEnabled) return false;  // the PLC disables programming
  if (row == kDescRow && column == kDescColumn) {
    DescChanged(text);
    return true;
  }
  if (!EditCell(cutList_.grid, row, column, text)) return false;
  CutListEditFinished(row, column);
  return true;
}

void Workstation::CutListEditFinished(int row, int column) {
  CellEditFinished(cutList_, MacPar_, row, column, GrooveColumnsSetting());
}

void Workstation::CutListCellMoved(int row, int column) {
  cutList_.grid.MoveCursor(row, column);
  if (const auto group = CurrentCellMoved(cutList_, column)) FollowGroupInPreview(*group);
}

void Workstation::CutListSelectionChanged(int firstColumn, int lastColumn) {
  if (firstColumn > 0 && lastColumn > firstColumn) cutList_.grid.SetBlockSelection(firstColumn, lastColumn);
  else cutList_.grid.ClearBlockSelection();
}

void Workstation::ChooseColumnsForRun(int firstColumn, int lastColumn) {
  CutListCellMoved(kTotalRow, firstColumn);
  CutListSelectionChanged(firstColumn, lastColumn);
}

void Workstation::FollowGroupInPreview(int group) { FollowCutGroup(optimizer_, optimizerView_, group); }

void Workstation::CutListKeyDown() { KeyDownInGrid(cutList_); }

void Workstation::RecomputeGroup(int group) { ComputeColumn(cutList_, MacPar_, PositionColumnOfGroup(group)); }

void Workstation::DescChanged(const std::string& text) { orl::DescChanged(cutList_, text); }

void Workstation::ClearClicked() {
  if (!AskAndClearCutList(ui_, cutList_, File1_, fileSystem_)) return;
  cutBookLabels_.Clear();  // the next run must not print the old pattern's labels
  optimizerView_.BtnLdPatEnabled = false;
  optimizerView_.ShNxtEnabled = false;
  optimizer_.LoadedPatternKey.clear();
}

void Workstation::GrvMouseDown() {
  settings_.WriteSetting(section::kConfiguration, key::kGrooveColumns, std::to_string(Toggled(cutList_.Grv.value)));
}

void Workstation::GrvClicked() {
  cutList_.Grv.value = Toggled(cutList_.Grv.value);
  GrooveCol(cutList_);
}

void Workstation::StrokeClicked() {
  cutList_.Stroke.value = Toggled(cutList_.Stroke.value);
  StrokeCol(cutList_);
  settings_.WriteSetting(section::kConfiguration, key::kStrokeColumns, std::to_string(cutList_.Stroke.value));
}

void Workstation::RmdrClicked() {
  cutList_.Rmdr.value = Toggled(cutList_.Rmdr.value);
  RmdrCol(cutList_);
  settings_.WriteSetting(section::kConfiguration, key::kRemainderColumns, std::to_string(cutList_.Rmdr.value));
}

// --- Cut programs and job folders ----------------------------------------

bool Workstation::ProgramClicked(const std::string& fileName) {
  const bool loaded = LoadCutProgram(cutList_, File1_, fileName, GrooveColumnsSetting());
  if (!loaded) {
    Warn(ui_, fileName + kNotACutProgram);
    return false;
  }
  optimizerView_.ImpFrameVisible = false;
  cutBookLabels_.Clear();  // a program has no book labels of its own
  return true;
}

bool Workstation::OpenProgram(const std::filesystem::path& file) {
  const std::filesystem::path absolute = std::filesystem::absolute(file);
  if (!fileSystem_.FolderExists(absolute.parent_path().string())) return false;
  File1_.folder = absolute.parent_path().string();
  File1_.Refresh(fileSystem_);
  return ProgramClicked(absolute.filename().string());
}

int Workstation::ShownProgramIndex() const {
  const auto& entries = File1_.entries;
  const auto found = std::find(entries.begin(), entries.end(), cutList_.DispFName);
  return cutList_.DispFName.empty() || found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
}

bool Workstation::SaveClicked() { return SaveCutList(cutList_, File1_, fileSystem_, ui_); }

void Workstation::JobBrsClicked() {
  SkipNextActivate_ = true;
  ToggleRemovableMedia(jobs_, JobFolder(), RemovableFolder(), fileSystem_, ui_);
}

void Workstation::Dir1Changed(const std::string& folder) { ShowJobFolder(jobs_, folder, fileSystem_); }

void Workstation::Dir1EntryOpened(const std::string& entry) {
  const auto folder = (std::filesystem::path(WithForwardSlashes(jobs_.Dir1)) / entry).lexically_normal();
  std::string text = folder.string();
  if (text.size() > 1 && text.back() == '/') text.pop_back();
  Dir1Changed(text);
}

void Workstation::TabClicked(int tab) {
  SSTab1_ = tab;
  if (tab == kHistoryTab) HistoryShown();
  if (JobDriveReady(jobs_.Dir1)) jobs_.Dir1Entries = fileSystem_.ListFolders(jobs_.Dir1);
}

bool Workstation::MakePositions(PosList& positions) {
  bool tooLong = false;
  const bool result = orl::BuildPositionList(cutList_, MacPar_, AbsoluteMode_, RunningPos_, positions, &tooLong);
  // The scan loop rebuilds on every tick while the PLC holds "Set To
  // Beginning": one box per refused list. Marked before the box opens, in
  // case a tick runs while it is shown.
  const bool warn = tooLong && !positionListRefused_;
  positionListRefused_ = tooLong;
  if (warn) Warn(ui_, PositionListTooLongText());
  return result;
}

void Workstation::HiLite(int row, int column) {
  // "Group:" names the group being cut, and "Show Loaded Pattern" opens it.
  if (row > kSawStrokeRow && column > 0) cutList_.CNum = std::to_string(GroupOfColumn(column));
  if (const auto group = HiLiteCell(cutList_, row, column, ShowNext_)) FollowGroupInPreview(*group);
}

void Workstation::SetProgrammingDisabled(bool disabled) {
  for (Control* control : {&cutList_.UnitFrame, &cutList_.ClrLst, &cutList_.SaveBtn, &cutList_.DescBox})
    control->enabled = !disabled;
  File1_.enabled = !disabled;
  cutList_.Stroke.enabled = cutList_.Rmdr.enabled = !disabled;
  cutList_.gridEnabled = !disabled;
  if (disabled) cutList_.Grv.enabled = false;
  else GrvCk(cutList_, GrooveColumnsSetting());
}

}  // namespace orl
