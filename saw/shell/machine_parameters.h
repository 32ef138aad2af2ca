#pragma once
// The "Parameters" tab: the machine parameter grid `MacPar` (millimetres)
// and the paths grid `PthPar`, loaded from and saved to the settings file.
#include <string>

#include "saw/shell/cell_grid.h"
#include "saw/shell/file_system.h"
#include "saw/shell/profile_file.h"

namespace orl {

enum MacParRow { kSawKerfRow = 1, kClampLengthRow = 2, kRearTrimRow = 3, kCreepDistanceRow = 4, kTemplateLengthRow = 5 };
enum PthParRow { kJobsRow = 1, kProgramsRow = 2, kPrintPathRow = 3, kArdisDataRow = 4 };
inline constexpr int kPathColumn = 1;
inline constexpr int kBrowseColumn = 2;
// The machine works in millimetres; inch lengths are converted by this.
inline constexpr double kMillimetresPerInch = 25.4;

CellGrid MakeMacParGrid();
CellGrid MakePthParGrid();

// Column 1 of each grid from the settings file, as stored.
void LoadMachineParameters(CellGrid& macPar, const ProfileFile& settings);
void LoadPaths(CellGrid& pthPar, const ProfileFile& settings);

// All values written back every time, unchanged and untested.
void SaveMachineParameters(const CellGrid& macPar, const ProfileFile& settings);
void SavePaths(const CellGrid& pthPar, const ProfileFile& settings);

// The number a machine parameter cell holds (lenient; empty reads as 0).
double MachineParameter(const CellGrid& macPar, MacParRow row);

// True when folder lies on removable media: inside the configured
// removable-media folder ([System] RemovablePath). No drive letter counts.
bool IsOnRemovableMedia(const std::string& folder, const std::string& removableFolder);

// Whether the drive of a path is ready: always, unless the path lies on
// removable media and no file system is mounted there (at or below the
// removable-media folder, on the path's way). A missing folder on a ready
// drive is a missing folder, not a drive that is not ready.
bool DriveReady(const FileSystem& fileSystem, const std::string& path, const std::string& removableFolder);

// What the chooser's answer does to a path row: an empty answer (cancel)
// changes nothing, and a Jobs folder on removable media is never stored
// (the job browser reaches it through "Access Floppy"). Returns whether the
// row changed.
bool ApplyChosenFolder(CellGrid& pthPar, int row, const std::string& chosen, const std::string& removableFolder);

}  // namespace orl
