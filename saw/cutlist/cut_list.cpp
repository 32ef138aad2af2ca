#include "saw/cutlist/cut_list.h"

#include <string>

namespace orl {
namespace {

struct ColumnLayout {
  const char* header;
  int width;
};

constexpr ColumnLayout kGroupColumns[ColsPerGroup] = {
    {"Position", 7}, {"Qty", 4}, {"Groove", 6}, {" ", 7}, {"Rmdr", 7}, {" ", 1}};

void SetCells(CellGrid& grid, int column, int firstRow, int lastRow, const CellFormat& format) {
  for (int row = firstRow; row <= lastRow; ++row) grid.Format(row, column) = format;
}

CellFormat Number(double max, int decimals, bool locked, Rgb color = kWhite) {
  return CellFormat{CellType::Number, 0, max, decimals, 0, false, locked, color};
}

void LayOutGroup(CutList& cutList, int p) {
  CellGrid& grid = cutList.grid;
  const int last = kCutListRows;
  for (int offset = 1; offset < ColsPerGroup; ++offset)
    grid.Format(kSawStrokeRow, p + offset) = CellFormat{CellType::Number, 0, 0, 0, 0, false, true, kGrey};
  for (int offset = 0; offset < ColsPerGroup; ++offset) {
    grid.SetText(0, p + offset, kGroupColumns[offset].header);
    grid.SetColumnWidth(p + offset, kGroupColumns[offset].width);
  }
  const int decimals = cutList.PositionDecimals();
  // Position: saw stroke, board length (its lock follows the group's cuts) and piece lengths.
  SetCells(grid, p, kSawStrokeRow, last, Number(9999, decimals, false));
  // Qty: the cut level in row 3, then quantities with spin buttons.
  grid.Format(kTotalRow, p + kQtyOffset) = Number(99, 0, true, kGrey);
  SetCells(grid, p + kQtyOffset, kFirstCutRow, last, CellFormat{CellType::Integer, 0, kMaxCellQuantity, 0, 0, true, false, kWhite});
  // Groove widths; row 3 stays locked.
  SetCells(grid, p + kGrooveOffset, kTotalRow, last, Number(999, 1, false));
  grid.Format(kTotalRow, p + kGrooveOffset).locked = true;
  // The always-hidden column.
  grid.Format(kTotalRow, p + kHiddenOffset) = Number(9999, 1, false);
  SetCells(grid, p + kHiddenOffset, kFirstCutRow, last, Number(9999, 1, true, kGrey));
  grid.SetColumnHidden(p + kHiddenOffset, true);
  // Remainders.
  SetCells(grid, p + kRmdrOffset, kFirstCutRow, last, Number(9999, 1, false, kCyan));
  // Separator.
  if (p + kSeparatorOffset <= grid.Columns())
    SetCells(grid, p + kSeparatorOffset, kSawStrokeRow, last, CellFormat{CellType::Text, 0, 0, 0, 0, false, true, kBlack});
}

void ShowGroupColumn(CutList& cutList, int offset, bool shown) {
  for (int p = 1; p + offset <= cutList.grid.Columns(); p += ColsPerGroup)
    cutList.grid.SetColumnHidden(p + offset, !shown);
}

}  // namespace

CutList::CutList() : grid(kCutListRows, kCutListColumns) {}

void Setupcutlist(CutList& cutList) {
  CellGrid& grid = cutList.grid;
  grid.Format(kDescRow, kDescColumn) = CellFormat{CellType::Text, 0, 0, 0, kMaxCellTextLength, false, false, kWhite};
  for (int column = 1; column <= grid.Columns(); ++column)
    grid.Format(kTotalRow, column) = CellFormat{CellType::Number, 0, 9999, 1, 0, false, true, kWhite};
  grid.SetText(kSawStrokeRow, 0, "SS");
  for (int row = kTotalRow; row <= kCutListRows; ++row) grid.SetText(row, 0, std::to_string(row - 2));
  for (int p = 1; p <= grid.Columns(); p += ColsPerGroup) LayOutGroup(cutList, p);
  GrooveCol(cutList);
  RmdrCol(cutList);
}

void ClearCutlist(CutList& cutList) { cutList.grid.ClearBlock(1, 1, kCutListRows, kCutListColumns); }

void GrooveCol(CutList& cutList) { ShowGroupColumn(cutList, kGrooveOffset, cutList.Grv.value != 0); }

void RmdrCol(CutList& cutList) { ShowGroupColumn(cutList, kRmdrOffset, cutList.Rmdr.value != 0); }

void StrokeCol(CutList& cutList) { cutList.grid.SetRowHidden(kSawStrokeRow, cutList.Stroke.value == 0); }

void StartOperatorAtFirstGroup(CutList& cutList) {
  cutList.grid.MoveCursor(kTotalRow, PositionColumnOfGroup(1));
  cutList.grid.ClearBlockSelection();
}

void SelectUnits(CutList& cutList, int unitIndex) {
  cutList.Units = unitIndex == kInch ? kInch : kMetric;
  SetCellText(cutList.grid, kDescRow, kUnitFlagColumn, cutList.InchSelected() ? "False" : "True");
  Setupcutlist(cutList);
}

}  // namespace orl
