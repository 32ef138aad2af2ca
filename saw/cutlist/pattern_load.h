#pragma once
// Loading the pattern shown in the preview into the cut list: one cut group
// per feed of material (the level-1 cuts, then each run of deeper cuts), the
// board in the description, the per-board trim in the totals, the book
// buttons and the book labels of every loaded cut.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "saw/cutlist/cut_list.h"
#include "saw/optimizer/optimizer_model.h"
#include "saw/optimizer/optimizer_view.h"
#include "saw/shell/file_list.h"
#include "saw/shell/file_system.h"
#include "saw/shell/ui.h"

namespace orl {

inline constexpr int kCutListGroups = kCutListColumns / ColsPerGroup;

// The warning after a load that left cuts out: `groups` is what the list
// holds (33, or 1 when the list is limited to its first group).
std::string PatternTooLargeText(int groups);

// Per cut-list row and group, the book labels of the part that cut yields
// (entry 0 unused, entry b for book b).
class CutBookLabels {
 public:
  CutBookLabels();
  void Clear();
  // Entries 1..last of `bookLabels` are copied; entry 0 stays empty. The
  // part label is kept beside them.
  void Set(int row, int group, std::string_view partLabel, std::span<const std::string_view> bookLabels);
  // Nothing (nullptr) outside the list or where no cut was loaded.
  const std::vector<std::string>* At(int row, int group) const;
  // The part label of the cut loaded at (row, group); "" where none.
  std::string PartLabel(int row, int group) const;
  // Group `group` disappears and the later groups close up, as in the list.
  void DeleteGroup(int group);

 private:
  std::vector<std::vector<std::string>> cells_;  // (row, group) from 1
  std::vector<std::string> parts_;               // the same cells' part labels
};

struct PatternLoadContext {
  Ui& ui;
  CutList& cutList;
  const CellGrid& macPar;
  FileList& programList;  // File1, refreshed as the list is emptied
  const FileSystem& fileSystem;
};

// "Load": with a pattern to write, asks first; on Yes replaces the cut list
// with the pattern selected in `Pat` and records it as `LoadedPatternKey`.
// The book labels are emptied even when the operator says No. Without a
// pattern (none read, or let go since) nothing is asked and nothing changes.
// Returns whether the pattern was loaded.
bool LoadPattern(PatternLoadContext context, OptimizerModel& model, OptimizerView& view, CutBookLabels& labels);

// Group `group` (all six columns) disappears from the grid; the later groups
// close up and the last group is left empty.
void DeleteCutGroup(CellGrid& grid, int group);

}  // namespace orl
