#pragma once
// The cut list: one grid of 51 rows by 198 columns holding 33 cut groups of
// `ColsPerGroup` columns, the description `Desc`, the three column-mode
// boxes, the unit choice and the labels beside the list. Everything here is
// plain state; the desktop program renders it.
#include <optional>
#include <string>

#include "saw/shell/cell_grid.h"

namespace orl {

inline constexpr int ColsPerGroup = 6;
inline constexpr int kCutListRows = 51;
inline constexpr int kCutListColumns = 198;
inline constexpr int kDescRow = 1, kDescColumn = 1, kUnitFlagColumn = 2;
inline constexpr int kSawStrokeRow = 2;
inline constexpr int kTotalRow = 3;
inline constexpr int kFirstCutRow = 4;
// The longest text a cell holds, in bytes of UTF-8 (the job description:
// a loaded pattern's three lines fit whole); longer texts, typed or read
// from a file, are cut so nothing can bloat the list.
inline constexpr std::size_t kMaxCellTextLength = 1024;
inline constexpr Rgb kHighlightColor = 0xFF8080;
// The largest quantity a cut holds (a pattern's 16-bit CutQty reaches it; a
// program file may hold more, which reads as this), and the quantity editor
// takes it too.
inline constexpr int kMaxCellQuantity = 32767;
// Asked before "Clear" or a pattern load replaces the cut list.
inline constexpr const char* kClearQuestion = "This will clear all programmed cuts. Continue?";

// Column offsets inside a group.
enum GroupOffset { kPositionOffset = 0, kQtyOffset = 1, kGrooveOffset = 2, kHiddenOffset = 3, kRmdrOffset = 4, kSeparatorOffset = 5 };

enum UnitIndex { kMetric = 0, kInch = 1 };

// A check box as the program drives it: value 0, 1 or 2 (three-state).
struct CheckBox {
  int value = 0;
  bool visible = true;
  bool enabled = true;
};

struct Control {
  bool visible = true;
  bool enabled = true;
};

class CutList {
 public:
  CutList();

  CellGrid grid;
  std::string Desc;
  CheckBox Grv, Stroke, Rmdr;
  int Units = kMetric;  // selected `Units` button
  Control UnitFrame, ClrLst, SaveBtn, DescBox;
  bool gridEnabled = true;  // false while the PLC disables programming
  std::string CNum;       // group of the current cell
  std::string DispFName;  // cut program now in the list
  int decimalPlacesMetric = 1;
  int decimalPlacesInch = 1;

  // Highlight of the cell being cut.
  int HiRow = 0, HiCol = 0;
  Rgb HiSavedColor = kWhite;

  bool InchSelected() const { return Units == kInch; }
  int PositionDecimals() const { return InchSelected() ? decimalPlacesInch : decimalPlacesMetric; }
};

// The group number of a column: the separator column counts as the next group.
inline int GroupOfColumn(int column) { return column / ColsPerGroup + 1; }
// The number of groups the grid now has (1 when limited to the first group).
inline int GroupsOf(const CellGrid& grid) { return grid.Columns() / ColsPerGroup; }
// First (Position) column of group g, counted from 1.
inline int PositionColumnOfGroup(int group) { return ColsPerGroup * (group - 1) + 1; }

// Lays out and formats the whole grid without touching cell contents.
void Setupcutlist(CutList& cutList);
// Empties rows 1..51, columns 1..198.
void ClearCutlist(CutList& cutList);

// Apply the three column-mode boxes to the grid.
void GrooveCol(CutList& cutList);
void StrokeCol(CutList& cutList);
void RmdrCol(CutList& cutList);

// The groove check: any groove in the cut rows ticks and disables
// "Grooving"; otherwise the box takes the stored GrooveColumns value.
void GrvCk(CutList& cutList, int grooveColumnsSetting);

// Recomputes a group's total (row 3) and remainders. column is a group's
// Position or Qty column (a Qty column is moved back to Position, which is
// returned; a column below 1 does nothing); trimOverride 0 uses the
// machine's Rear Trim. Single precision throughout.
int ComputeColumn(CutList& cutList, const CellGrid& macPar, int column, float trimOverride = 0);

// Highlights one cell and unhighlights the previous one; (0, 0) only removes
// the highlight. When the column changes, returns the group number the
// pattern preview should follow (already advanced by one when showNext).
std::optional<int> HiLiteCell(CutList& cutList, int row, int column, bool showNext);

// A new list (cleared, loaded or replaced by a pattern) starts afresh: the
// operator's cursor goes to the first group's board length and the block of
// groups chosen for the old list is dropped, so a run starts at group 1.
void StartOperatorAtFirstGroup(CutList& cutList);

// Writes the unit flag into (1,2) and lays the grid out again.
void SelectUnits(CutList& cutList, int unitIndex);

}  // namespace orl
