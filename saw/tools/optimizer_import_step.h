#pragma once
// What the optimizer commands of orl-tool share: reading a file as a click
// in the optimizer file list does, and choosing a pattern as a click in the
// pattern list does.
#include <algorithm>
#include <iostream>
#include <stdexcept>
#include <string>

#include "saw/cutlist/job_folders.h"
#include "saw/optimizer/optimizer_view.h"
#include "saw/optimizer/pattern_browser.h"
#include "saw/shell/machine_parameters.h"
#include "saw/shell/path_parts.h"
#include "saw/tools/tool_session.h"

namespace orl {

// Reads FILE with the settings' Ardis data path. Throws FileError when the
// file cannot be read.
inline void ImportForTool(ToolSession& session, OptimizerView& view, const std::string& file) {
  Workstation& ws = *session.workstation;
  const std::string path = session.Resolve(file);
  if (!session.fileSystem.FileExists(path)) throw FileError("cannot read optimizer file " + file);
  const std::string folder = FolderPart(path);
  const std::string name = FileNamePart(path);
  const auto listed = session.fileSystem.ListFiles(folder, kOptimizerFilePattern);
  const auto at = std::find(listed.begin(), listed.end(), name);
  const int listIndex = at == listed.end() ? -1 : static_cast<int>(at - listed.begin());
  const std::string ardisPath = ws.PthPar.Text(kArdisDataRow, kPathColumn);
  if (!OptimizerFileClicked(ws.optimizer, view, folder, folder, name, listIndex, ardisPath))
    throw FileError("cannot read optimizer file " + file);
}

// Selects pattern `patNo` by its number; throws when the file has none.
inline void SelectPatternForTool(ToolSession& session, OptimizerView& view, int patNo) {
  if (patNo < -32768 || patNo > 32767 || !SelectPatternNumber(session.workstation->optimizer, view, patNo))
    throw std::invalid_argument("the file has no pattern " + std::to_string(patNo));
}

inline void PrintImportWarnings(const OptimizerModel& model) {
  for (const std::string& warning : model.Warnings.Texts()) std::cerr << "orl-tool: warning: " << warning << "\n";
}

}  // namespace orl
