// Browsing an imported file: clicking an optimizer file, clicking a pattern,
// following the group being cut, and bringing back the loaded pattern.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "saw/optimizer/optimizer_model.h"
#include "saw/optimizer/optimizer_view.h"
#include "saw/shell/file_list.h"
#include "saw/shell/file_system.h"

namespace orl {

// Reads the clicked file of the optimizer file list and shows its first
// pattern. `dir1Folder` is the folder list's folder, `file2Folder` the file
// list's. Returns false when the file cannot be read (warning in the model).
bool OptimizerFileClicked(OptimizerModel& model, OptimizerView& view, const std::string& dir1Folder,
                          const std::string& file2Folder, const std::string& fileName, int listIndex,
                          const std::string& ardisPath);

// The imported patterns are let go (the file is read again when clicked):
// nothing of them stays listed, drawn or highlighted. The loaded pattern's
// key stays, so "Show Loaded Pattern" can bring it back.
void ForgetImportedPatterns(OptimizerModel& model, OptimizerView& view);

// Selects entry `index` of `Pat`: draws the pattern, then numbers its steps.
void PatClicked(OptimizerModel& model, OptimizerView& view, int index);

// Selects the `Pat` entry whose text starts with the pattern number; false
// when the file has no such pattern.
bool SelectPatternNumber(OptimizerModel& model, OptimizerView& view, std::int16_t patNo);

// The cut list moved to cut group `group`: when the preview shows the loaded
// pattern and the pattern has that many steps, that step is highlighted.
void FollowCutGroup(OptimizerModel& model, OptimizerView& view, int group);

struct PatternKeyFields {
  std::int16_t PatNo = 0;
  std::string Folder;
  std::string FileName;
  int ListIndex = -1;
};

// Splits "pattern,folder,file,index". The folder may itself hold commas; the
// file name and the index are the last two fields.
std::optional<PatternKeyFields> SplitPatternKey(const std::string& key);

// "Show Loaded Pattern": shows the folder and file of `LoadedPatternKey`,
// re-reads the file, selects the loaded pattern by its number and, when the
// cut list's group label `cnumText` names one of its steps, highlights it.
// Nothing happens while no pattern is loaded. Returns whether the file was
// read again (its warnings are then the model's).
bool ShowLoadedPattern(OptimizerModel& model, OptimizerView& view, std::string& dir1Folder, FileList& file2,
                       const FileSystem& fileSystem, const std::string& ardisPath, const std::string& cnumText);

}  // namespace orl
