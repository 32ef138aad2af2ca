#include "saw/cutlist/cut_program_files.h"

#include <cctype>

#include "saw/cutlist/cut_program_file.h"
#include "saw/shell/path_parts.h"

namespace orl {

std::string CutProgramFolder(const FileList& programList) { return WithTrailingSeparator(programList.folder); }

bool LoadCutProgram(CutList& cutList, const FileList& programList, const std::string& fileName,
                    int grooveColumnsSetting) {
  const std::string path = CutProgramFolder(programList) + fileName;
  CellGrid& grid = cutList.grid;
  if (!LoadCutProgramFile(path, grid)) return false;
  cutList.DispFName = FileNamePart(path);
  cutList.Desc = grid.Text(kDescRow, kDescColumn);
  const int unit = grid.Text(kDescRow, kUnitFlagColumn) == "False" ? kInch : kMetric;
  if (unit != cutList.Units) SelectUnits(cutList, unit);
  GrvCk(cutList, grooveColumnsSetting);
  HiLiteCell(cutList, 0, 0, false);
  grid.SetActiveCell(kTotalRow, 1);
  StartOperatorAtFirstGroup(cutList);
  cutList.CNum = "1";
  return true;
}

bool SaveCutList(CutList& cutList, FileList& programList, const FileSystem& fileSystem, Ui& ui) {
  const std::string folder = CutProgramFolder(programList);
  const std::string proposal = folder + cutList.DispFName;
  const std::string initial = !cutList.DispFName.empty() && fileSystem.FileExists(proposal) ? proposal : folder + "*.*";
  const auto chosen = ui.AskSaveFileName(initial, kSaveFilter);
  if (!chosen) return false;
  const std::string name = FileNamePart(*chosen);
  if (name.empty()) return false;
  const std::string target = folder + name;  // the folder chosen in the dialog is not used
  if (fileSystem.FileExists(target) && !Ask(ui, kOverwriteQuestion)) return false;
  std::error_code error;
  if (!SaveCutProgramFile(target, cutList.grid, error)) {
    Warn(ui, CannotWriteMessage(target, error));
    return false;
  }
  // Only a written file names the list.
  cutList.DispFName = name;
  programList.Refresh(fileSystem);
  return true;
}

std::string CannotWriteMessage(const std::string& path, const std::error_code& error) {
  std::string reason = error.message();
  if (!reason.empty()) reason.front() = static_cast<char>(std::tolower(static_cast<unsigned char>(reason.front())));
  return kCannotWrite + path + kReasonSeparator + reason;
}

}  // namespace orl
