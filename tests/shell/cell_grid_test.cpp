#include "saw/shell/cell_grid.h"

#include <gtest/gtest.h>

namespace orl {
namespace {

TEST(CellAccess, SetCellTextIgnoresColumnZeroAndNegativeRows) {
  CellGrid grid(5, 3);
  grid.SetActiveCell(2, 2);
  SetCellText(grid, 1, 0, "x");
  SetCellText(grid, -1, 1, "x");
  EXPECT_EQ(grid.Text(1, 0), "");
  EXPECT_EQ(grid.ActiveRow(), 2);
  SetCellText(grid, 0, 1, "Header");
  EXPECT_EQ(grid.Text(0, 1), "Header");
  EXPECT_EQ(GetCellText(grid, 0, 1), "Header");
}

TEST(CellAccess, GetCellTextMovesTheCurrentCell) {
  CellGrid grid(5, 3);
  grid.SetText(4, 3, "7");
  EXPECT_EQ(GetCellText(grid, 4, 3), "7");
  EXPECT_EQ(grid.ActiveRow(), 4);
  EXPECT_EQ(grid.ActiveColumn(), 3);
}

TEST(CellGrid, OutOfRangeCellsAreEmptyAndIgnoreWrites) {
  CellGrid grid(5, 3);
  grid.SetText(6, 1, "x");
  grid.SetText(1, 4, "x");
  EXPECT_EQ(grid.Text(6, 1), "");
  grid.Format(99, 99).locked = true;  // must not touch any real cell
  EXPECT_FALSE(grid.Format(1, 1).locked);
}

TEST(CellGrid, ReducedColumnsHideTheRest) {
  CellGrid grid(2, 12);
  grid.SetText(1, 9, "x");
  grid.SetColumns(6);
  EXPECT_EQ(grid.Text(1, 9), "");
  grid.SetText(1, 9, "y");
  grid.SetColumns(12);
  EXPECT_EQ(grid.Text(1, 9), "x");
}

TEST(CellGrid, SelectionFallsBackToTheOperatorsCursorNotTheProgramsCell) {
  CellGrid grid(2, 12);
  grid.MoveCursor(1, 8);
  SetCellText(grid, 2, 2, "written by the program");
  EXPECT_EQ(grid.CursorColumn(), 8);
  EXPECT_EQ(grid.SelectionFirstColumn(), 8);
  EXPECT_EQ(grid.SelectionLastColumn(), 8);
  grid.SetBlockSelection(10, 3);
  EXPECT_EQ(grid.SelectionFirstColumn(), 3);
  EXPECT_EQ(grid.SelectionLastColumn(), 10);
}

}  // namespace
}  // namespace orl
