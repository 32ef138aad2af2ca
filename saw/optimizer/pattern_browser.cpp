#include "saw/optimizer/pattern_browser.h"

#include "saw/optimizer/cut_sequence.h"
#include "saw/optimizer/eval_number.h"
#include "saw/optimizer/optimizer_import.h"
#include "saw/optimizer/pattern_preview.h"
#include "saw/shell/text_number.h"

namespace orl {

bool OptimizerFileClicked(OptimizerModel& model, OptimizerView& view, const std::string& dir1Folder,
                          const std::string& file2Folder, const std::string& fileName, int listIndex,
                          const std::string& ardisPath) {
  view.Drawing.Clear();
  view.Dir1Folder = dir1Folder;
  view.File2Folder = file2Folder;
  view.File2FileName = fileName;
  view.File2ListIndex = listIndex;
  const bool read = ImportOptimizerFile(model, file2Folder, fileName, ardisPath);
  if (!model.Pat.Items.empty()) PatClicked(model, view, 0);
  return read;
}

void ForgetImportedPatterns(OptimizerModel& model, OptimizerView& view) {
  model.PatCuts.Clear();
  model.CurPatFirst = 0;
  model.Pat.Clear();
  model.Parts.Clear();
  model.ShownPatternKey.clear();
  view.Drawing.Clear();
  view.ImpLab1.clear();
  view.ImpLab2.clear();
  view.LBLPhases.clear();
  view.ImpFrameVisible = false;
  view.File2FileName.clear();
  view.File2ListIndex = -1;
}

void PatClicked(OptimizerModel& model, OptimizerView& view, int index) {
  model.Pat.ListIndex = index;
  ShowGraphic(model, view);
  ConvCutPrg(model, view);
}

bool SelectPatternNumber(OptimizerModel& model, OptimizerView& view, std::int16_t patNo) {
  for (std::size_t i = 0; i < model.Pat.Items.size(); ++i) {
    if (PatternNumberOf(model.Pat.Items[i]) == patNo) {
      PatClicked(model, view, static_cast<int>(i));
      return true;
    }
  }
  return false;
}

void FollowCutGroup(OptimizerModel& model, OptimizerView& view, int group) {
  if (group <= view.VScrollPH.Min && model.ShownPatternKey == model.LoadedPatternKey)
    SetStepBar(model, view, group);
}

std::optional<PatternKeyFields> SplitPatternKey(const std::string& key) {
  const std::size_t first = key.find(',');
  const std::size_t last = key.rfind(',');
  if (first == std::string::npos || last == first) return std::nullopt;
  const std::size_t beforeLast = key.rfind(',', last - 1);
  if (beforeLast == first) return std::nullopt;
  PatternKeyFields fields;
  fields.PatNo = ToInt16(Val(key.substr(0, first)));
  fields.Folder = key.substr(first + 1, beforeLast - first - 1);
  fields.FileName = key.substr(beforeLast + 1, last - beforeLast - 1);
  fields.ListIndex = RoundHalfEven(Val(key.substr(last + 1)));
  return fields;
}

bool ShowLoadedPattern(OptimizerModel& model, OptimizerView& view, std::string& dir1Folder, FileList& file2,
                       const FileSystem& fileSystem, const std::string& ardisPath, const std::string& cnumText) {
  if (model.LoadedPatternKey.empty()) return false;
  const auto key = SplitPatternKey(model.LoadedPatternKey);
  if (!key) return false;
  dir1Folder = key->Folder;
  file2.folder = key->Folder;
  file2.Refresh(fileSystem);
  if (key->ListIndex < 0 || static_cast<std::size_t>(key->ListIndex) >= file2.entries.size()) return false;
  OptimizerFileClicked(model, view, dir1Folder, file2.folder, file2.entries[key->ListIndex], key->ListIndex,
                       ardisPath);
  // By the number in the entry text, not by list position: the list holds
  // the patterns in file order, which need not start at 1 or run unbroken.
  if (!SelectPatternNumber(model, view, key->PatNo)) return true;
  const int group = RoundHalfEven(Val(cnumText));
  if (group != 0 && group <= view.VScrollPH.Min && model.ShownPatternKey == model.LoadedPatternKey)
    SetStepBar(model, view, group);
  return true;
}

}  // namespace orl
