#pragma once
// How the cut list reacts to the operator's edits.
#include <optional>
#include <string>

#include "saw/cutlist/cut_list.h"

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

// The description box changed: its text goes into cell (1,1).
void DescChanged(CutList& cutList, const std::string& text);

}  // namespace orl
