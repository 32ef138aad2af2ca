// Start-up, activation, the housekeeping timer and the end of the program.
#include <unistd.h>

#include "saw/optimizer/pattern_browser.h"
#include "saw/plc/attempt.h"
#include "saw/shell/machine_parameters.h"
#include "saw/shell/orl_settings.h"
#include "saw/workstation/workstation.h"

namespace orl {
namespace {

void ReadDecimalPlaces(CutList& cutList, const ProfileFile& settings) {
  cutList.decimalPlacesMetric = DecimalPlacesSetting(settings.ReadSetting(section::kConfiguration, key::kDecimalPlacesMetric));
  cutList.decimalPlacesInch = DecimalPlacesSetting(settings.ReadSetting(section::kConfiguration, key::kDecimalPlacesInch));
}

}  // namespace

void Workstation::StartUp(const std::filesystem::path& settingsFile) {
  const std::filesystem::path absolute = std::filesystem::absolute(settingsFile);
  settings_ = ProfileFile(absolute);
  if (::chdir(absolute.parent_path().c_str()) != 0) {
    // A missing folder leaves the current one; every read then yields empty text.
  }
  ApplyStartUpSettings();
}

void Workstation::ApplyStartUpSettings() {
  ReadDecimalPlaces(cutList_, settings_);
  Setupcutlist(cutList_);
}

void Workstation::Activate() {
  if (!SkipNextActivate_) {
    const auto flag = [&](const char* name) { return FlagSetting(Setting(section::kConfiguration, name)); };
    const auto columnMode = [&](const char* name) { return ColumnModeSetting(Setting(section::kConfiguration, name)); };
    if (AbsoluteModeSetting(Setting(section::kConfiguration, key::kMode))) AbsoluteMode_ = true;
    cutList_.Grv.visible = flag(key::kGrooving);
    ManGrv_.visible = cutList_.Grv.visible;
    cutList_.Stroke.visible = flag(key::kStroke);
    cutList_.Rmdr.visible = flag(key::kRemainder);
    ManFrame_.visible = flag(key::kManual);
    if (flag(key::kFirstColOnly)) cutList_.grid.SetColumns(ColsPerGroup);
    ReadDecimalPlaces(cutList_, settings_);
    cutList_.Grv.value = columnMode(key::kGrooveColumns);
    GrooveCol(cutList_);
    cutList_.Stroke.value = columnMode(key::kStrokeColumns);
    StrokeCol(cutList_);
    cutList_.Rmdr.value = columnMode(key::kRemainderColumns);
    RmdrCol(cutList_);
    LoadPaths(PthPar_, settings_);
    LoadMachineParameters(MacPar_, settings_);
    const std::string programs = PthPar_.Text(kProgramsRow, kPathColumn);
    if (fileSystem_.FolderExists(programs)) {
      File1_.folder = programs;
      File1_.Refresh(fileSystem_);
    } else {
      Warn(ui_, kPathError);
    }
    // A missing Jobs folder gets the same warning as a drive that is not ready.
    if (JobDriveReady(JobFolder()) && fileSystem_.FolderExists(JobFolder())) ShowJobFolder(jobs_, JobFolder(), fileSystem_);
    else Warn(ui_, kDriveNotReady);
    jobs_.File2.pattern = kOptimizerFilePattern;
    MaxLogLen_ = MaxLogLenSetting(Setting(section::kConfiguration, key::kMaxLogLen));
    if (MaxLogLen_ > 0) FrameCommLog_.visible = true;
  }
  ForgetImportedPatterns(optimizer_, optimizerView_);
  SkipNextActivate_ = false;
}

void Workstation::HousekeepingTick() {
  Attempt([&] { recording_.Housekeep(); });
  if (SSTab1_ == kHistoryTab) RefreshShownHistory();
  FileList* watched = nullptr;
  if (SSTab1_ == kProgramControlTab) {
    watched = &File1_;
  } else if (SSTab1_ == kImportTab) {
    if (!JobDriveReady(jobs_.Dir1)) JobBrsClicked();
    watched = &jobs_.File2;
  } else {
    return;
  }
  // A fresh look at the same folder; the shown list is refilled only when
  // it differs, so a quiet tick changes nothing on screen.
  FileList now;
  now.folder = watched->folder;
  now.pattern = watched->pattern;
  now.Refresh(fileSystem_);
  if (now.entries != watched->entries) watched->Refresh(fileSystem_);
}


}  // namespace orl
