#include "saw/cutlist/cut_program_files.h"

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
  cutList.DispFName = name;
  const std::string target = folder + name;  // the folder chosen in the dialog is not used
  if (fileSystem.FileExists(target) && !Ask(ui, kOverwriteQuestion)) return false;
  if (!SaveCutProgramFile(target, cutList.grid)) return false;
  programList.Refresh(fileSystem);
  return true;
}

}  // namespace orl
