#pragma once
// The job-directory browser: the folder list `Dir1`, the optimizer file
// list `File2` that follows it, and the "Access Floppy" / "Access HD"
// toggle between the Jobs folder and removable media.
#include <string>
#include <vector>

#include "saw/shell/file_list.h"
#include "saw/shell/file_system.h"
#include "saw/shell/ui.h"

namespace orl {

inline constexpr const char* kAccessFloppy = "Access Floppy";
inline constexpr const char* kAccessHd = "Access HD";
inline constexpr const char* kFloppyNotReady = "Floppy Disk Drive Not Ready.";
// Optimizer output files; Ardis files end in .SAW.
inline constexpr const char* kOptimizerFilePattern = "CPOut.*;*.CSV;*.PTX;*.SAW";

struct JobBrowser {
  std::string Dir1;                      // folder shown in the folder list
  std::vector<std::string> Dir1Entries;  // its sub-folders
  FileList File2{.folder = "", .pattern = kOptimizerFilePattern, .entries = {}, .enabled = true};
  std::string JobBrsCaption = kAccessFloppy;
};

// The folder list shows folder (and File2 follows it).
void ShowJobFolder(JobBrowser& browser, const std::string& folder, const FileSystem& fileSystem);

// The toggle between removable media and the Jobs folder. Warns and changes
// nothing when the removable drive is not ready.
void ToggleRemovableMedia(JobBrowser& browser, const std::string& jobFolder, const std::string& removableFolder,
                          const FileSystem& fileSystem, Ui& ui);

}  // namespace orl
