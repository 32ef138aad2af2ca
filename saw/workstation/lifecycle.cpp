// Start-up, activation, the housekeeping timer and the end of the program.
#include <unistd.h>

#include "saw/optimizer/pattern_browser.h"
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
  settings = ProfileFile(absolute);
  if (::chdir(absolute.parent_path().c_str()) != 0) {
    // A missing folder leaves the current one; every read then yields empty text.
  }
  ApplyStartUpSettings();
}

void Workstation::ApplyStartUpSettings() {
  ReadDecimalPlaces(cutList, settings);
  Setupcutlist(cutList);
}

void Workstation::Activate() {
  if (!SkipNextActivate) {
    const auto flag = [&](const char* name) { return FlagSetting(Setting(section::kConfiguration, name)); };
    const auto columnMode = [&](const char* name) { return ColumnModeSetting(Setting(section::kConfiguration, name)); };
    if (AbsoluteModeSetting(Setting(section::kConfiguration, key::kMode))) AbsoluteMode = true;
    cutList.Grv.visible = flag(key::kGrooving);
    ManGrv.visible = cutList.Grv.visible;
    cutList.Stroke.visible = flag(key::kStroke);
    cutList.Rmdr.visible = flag(key::kRemainder);
    ManFrame.visible = flag(key::kManual);
    if (flag(key::kFirstColOnly)) cutList.grid.SetColumns(ColsPerGroup);
    ReadDecimalPlaces(cutList, settings);
    cutList.Grv.value = columnMode(key::kGrooveColumns);
    GrooveCol(cutList);
    cutList.Stroke.value = columnMode(key::kStrokeColumns);
    StrokeCol(cutList);
    cutList.Rmdr.value = columnMode(key::kRemainderColumns);
    RmdrCol(cutList);
    LoadPaths(PthPar, settings);
    LoadMachineParameters(MacPar, settings);
    const std::string programs = PthPar.Text(kProgramsRow, kPathColumn);
    if (fileSystem.FolderExists(programs)) {
      File1.folder = programs;
      File1.Refresh(fileSystem);
    } else {
      Warn(ui, kPathError);
    }
    // A missing Jobs folder gets the same warning as a drive that is not ready.
    if (JobDriveReady(JobFolder()) && fileSystem.FolderExists(JobFolder())) ShowJobFolder(jobs, JobFolder(), fileSystem);
    else Warn(ui, kDriveNotReady);
    jobs.File2.pattern = kOptimizerFilePattern;
    MaxLogLen = MaxLogLenSetting(Setting(section::kConfiguration, key::kMaxLogLen));
    if (MaxLogLen > 0) FrameCommLog.visible = true;
  }
  ForgetImportedPatterns(optimizer, optimizerView);
  SkipNextActivate = false;
}

void Workstation::HousekeepingTick() {
  FileList* watched = nullptr;
  if (SSTab1 == kProgramControlTab) {
    watched = &File1;
  } else if (SSTab1 == kImportTab) {
    if (!JobDriveReady(jobs.Dir1)) JobBrsClicked();
    watched = &jobs.File2;
  } else {
    return;
  }
  // A fresh look at the same folder; the shown list is refilled only when
  // it differs, so a quiet tick changes nothing on screen.
  FileList now;
  now.folder = watched->folder;
  now.pattern = watched->pattern;
  now.Refresh(fileSystem);
  if (now.entries != watched->entries) watched->Refresh(fileSystem);
}


}  // namespace orl
