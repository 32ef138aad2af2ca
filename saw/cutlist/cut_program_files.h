#pragma once
// Loading a cut program by a click in the program list, and saving the cut
// list into the Programs folder.
#include <string>
#include <system_error>

#include "saw/cutlist/cut_list.h"
#include "saw/shell/file_list.h"
#include "saw/shell/file_system.h"
#include "saw/shell/ui.h"

namespace orl {

inline constexpr const char* kOverwriteQuestion = "This file already exists. Do you wish to overwrite it?";
inline constexpr const char* kSaveFilter = "All files (*.*)|*.*";
// A save that failed: "cannot write PATH: REASON", the reason as the system
// words it ("permission denied", "no such file or directory", ...).
inline constexpr const char* kCannotWrite = "cannot write ";
inline constexpr const char* kReasonSeparator = ": ";

// The folder of the program list with blanks trimmed and a separator added.
std::string CutProgramFolder(const FileList& programList);

// Loads folder + fileName into the cut list: description, unit (anything
// but "False" is metric), groove check, no highlight, cell (3,1) active and
// chosen, group "1". Returns false when the file could not be read.
bool LoadCutProgram(CutList& cutList, const FileList& programList, const std::string& fileName,
                    int grooveColumnsSetting);

// Asks for a name, always saves into the Programs folder, asks before
// overwriting. Cancel or No ends it without a message; a failed write warns
// with the target and the system's reason. Either way the old file and the
// shown name (DispFName) are kept. Returns true when the list was saved.
bool SaveCutList(CutList& cutList, FileList& programList, const FileSystem& fileSystem, Ui& ui);

// The warning of a failed save of path.
std::string CannotWriteMessage(const std::string& path, const std::error_code& error);

}  // namespace orl
