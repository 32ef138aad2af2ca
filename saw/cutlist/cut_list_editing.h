#pragma once
// How the cut list reacts to the operator's edits.
#include <optional>
#include <string>

#include "saw/cutlist/cut_list.h"
#include "saw/shell/file_list.h"
#include "saw/shell/file_system.h"
#include "saw/shell/ui.h"

namespace orl {

// The operator finished editing (row, column): a typed Position gets a
// quantity of 1 when it had none and the group is recomputed; a typed Qty
// recomputes the group; a typed Groove runs the groove check.
void CellEditFinished(CutList& cutList, const CellGrid& macPar, int row, int column, int grooveColumnsSetting);

// The current cell moved to column: `CNum` shows its group, which is
// returned for the pattern preview to follow (nothing for column < 1).
std::optional<int> CurrentCellMoved(CutList& cutList, int column);

// A key went down in the grid: a board length (row 3 of a Position column)
// can be typed only while its group has no cut.
void KeyDownInGrid(CutList& cutList);

// The description box changed: its text goes into cell (1,1), with CR LF
// line ends whatever ends it came with.
void DescChanged(CutList& cutList, const std::string& text);

// Asks whether all programmed cuts may go; on Yes empties the description
// and the file name, refreshes the program list, clears and sets up the
// list afresh and makes group 1 the one a run starts from. Returns the
// answer.
bool AskAndClearCutList(Ui& ui, CutList& cutList, FileList& programList, const FileSystem& fileSystem);

}  // namespace orl
