#pragma once
// What the optimizer commands of orl-tool share: reading a file as a click
// in the optimizer file list does, and choosing a pattern as a click in the
// pattern list does.
#include <iostream>
#include <stdexcept>
#include <string>

#include "saw/optimizer/pattern_browser.h"
#include "saw/shell/path_parts.h"
#include "saw/tools/tool_session.h"

namespace orl {

// Reads FILE as a click in the optimizer file list of its folder does (with
// the settings' Ardis data path). Throws FileError when it cannot be read.
inline void ImportForTool(ToolSession& session, const std::string& file) {
  Workstation& ws = *session.workstation;
  const std::string path = session.Resolve(file);
  if (!session.fileSystem.FileExists(path)) throw FileError("cannot read optimizer file " + file);
  ws.Dir1Changed(FolderPart(path));
  if (!ws.OptimizerFileClicked(FileNamePart(path))) throw FileError("cannot read optimizer file " + file);
}

// Selects pattern `patNo` as a click on its entry in the pattern list does;
// throws when the file has no such pattern.
inline void SelectPatternForTool(ToolSession& session, int patNo) {
  Workstation& ws = *session.workstation;
  if (patNo < -32768 || patNo > 32767 || !ws.PatternNumberChosen(static_cast<std::int16_t>(patNo)))
    throw std::invalid_argument("the file has no pattern " + std::to_string(patNo));
}

inline void PrintImportWarnings(const OptimizerModel& model) {
  for (const std::string& warning : model.Warnings.Texts()) std::cerr << "orl-tool: warning: " << warning << "\n";
}

}  // namespace orl
