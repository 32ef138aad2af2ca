#include "saw/shell/machine_parameters.h"

#include <array>

#include "saw/shell/orl_settings.h"
#include "saw/shell/path_parts.h"
#include "saw/shell/text_number.h"

namespace orl {
namespace {

struct GridRow {
  const char* header;
  const char* key;
};

constexpr std::array<GridRow, 5> kMacParRows{{{"Saw Kerf", key::kSawKerf},
                                               {"Clamp Length", key::kClampLength},
                                               {"Rear Trim", key::kHeadCut},
                                               {"Creep Distance", key::kCreepDist},
                                               {"Template Length", key::kTemplateLength}}};

constexpr std::array<GridRow, 4> kPthParRows{{{"Jobs", key::kJobPath},
                                               {"Programs", key::kProgramPath},
                                               {"Print Path/Name", key::kPrintPath},
                                               {"Ardis Data", key::kArdisPath}}};

template <std::size_t N>
void SetRowHeaders(CellGrid& grid, const std::array<GridRow, N>& rows) {
  for (std::size_t i = 0; i < N; ++i) grid.SetText(static_cast<int>(i) + 1, 0, rows[i].header);
}

template <std::size_t N>
void Load(CellGrid& grid, const ProfileFile& settings, const char* section, const std::array<GridRow, N>& rows) {
  for (std::size_t i = 0; i < N; ++i)
    SetCellText(grid, static_cast<int>(i) + 1, kPathColumn, settings.ReadSetting(section, rows[i].key));
}

template <std::size_t N>
void Save(const CellGrid& grid, const ProfileFile& settings, const char* section, const std::array<GridRow, N>& rows) {
  for (std::size_t i = 0; i < N; ++i)
    settings.WriteSetting(section, rows[i].key, grid.Text(static_cast<int>(i) + 1, kPathColumn));
}

}  // namespace

CellGrid MakeMacParGrid() {
  CellGrid grid(static_cast<int>(kMacParRows.size()), 1);
  grid.SetText(0, 1, "Manual Adjust");
  SetRowHeaders(grid, kMacParRows);
  return grid;
}

CellGrid MakePthParGrid() {
  CellGrid grid(static_cast<int>(kPthParRows.size()), 2);
  SetRowHeaders(grid, kPthParRows);
  for (int row = 1; row <= static_cast<int>(kPthParRows.size()); ++row) {
    grid.Format(row, kBrowseColumn).type = CellType::Button;
    grid.SetText(row, kBrowseColumn, "Browse...");
  }
  return grid;
}

void LoadMachineParameters(CellGrid& macPar, const ProfileFile& settings) {
  Load(macPar, settings, section::kConfiguration, kMacParRows);
}

void LoadPaths(CellGrid& pthPar, const ProfileFile& settings) { Load(pthPar, settings, section::kSystem, kPthParRows); }

void SaveMachineParameters(const CellGrid& macPar, const ProfileFile& settings) {
  Save(macPar, settings, section::kConfiguration, kMacParRows);
}

void SavePaths(const CellGrid& pthPar, const ProfileFile& settings) {
  Save(pthPar, settings, section::kSystem, kPthParRows);
}

double MachineParameter(const CellGrid& macPar, MacParRow row) { return Val(macPar.Text(row, kPathColumn)); }

bool IsOnRemovableMedia(const std::string& folder, const std::string& removableFolder) {
  return IsAtOrUnder(folder, removableFolder);
}

bool DriveReady(const FileSystem& fileSystem, const std::string& path, const std::string& removableFolder) {
  if (!IsOnRemovableMedia(path, removableFolder)) return true;
  for (const std::string& mountPoint : fileSystem.MountPoints()) {
    if (!IsAtOrUnder(mountPoint, removableFolder)) continue;
    if (IsAtOrUnder(path, mountPoint) || IsAtOrUnder(mountPoint, path)) return true;
  }
  return false;
}

bool ApplyChosenFolder(CellGrid& pthPar, int row, const std::string& chosen, const std::string& removableFolder) {
  if (chosen.empty()) return false;
  if (row == kJobsRow && IsOnRemovableMedia(chosen, removableFolder)) return false;
  pthPar.SetText(row, kPathColumn, chosen);
  return true;
}

}  // namespace orl
