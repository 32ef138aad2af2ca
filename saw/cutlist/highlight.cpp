// The cell being cut is painted so the operator sees where the saw is.
#include "saw/cutlist/cut_list.h"

namespace orl {

std::optional<int> HiLiteCell(CutList& cutList, int row, int column, bool showNext) {
  CellGrid& grid = cutList.grid;
  if (cutList.HiRow >= 3 && cutList.HiCol >= 1) grid.Format(cutList.HiRow, cutList.HiCol).backColor = cutList.HiSavedColor;
  if (row > 2 && column > 0) {
    cutList.HiSavedColor = grid.Format(row, column).backColor;
    grid.Format(row, column).backColor = kHighlightColor;
  }
  std::optional<int> groupToShow;
  if (column != cutList.HiCol && column > 0) groupToShow = GroupOfColumn(column) + (showNext ? 1 : 0);
  cutList.HiRow = row;
  cutList.HiCol = column;
  return groupToShow;
}

}  // namespace orl
