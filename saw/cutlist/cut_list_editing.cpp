#include "saw/cutlist/cut_list_editing.h"

#include "saw/cutlist/cell_text.h"
#include "saw/shell/text_number.h"

namespace orl {
namespace {

bool GroupHasCut(const CellGrid& grid, int positionColumn) {
  for (int row = kFirstCutRow; row <= kCutListRows; ++row)
    if (Val(grid.Text(row, positionColumn)) > 0) return true;
  return false;
}

}  // namespace

void CellEditFinished(CutList& cutList, const CellGrid& macPar, int row, int column, int grooveColumnsSetting) {
  CellGrid& grid = cutList.grid;
  const std::string header = grid.Text(0, column);
  if (row > kTotalRow && header == "Position") {
    if (grid.Text(row, column + kQtyOffset).empty()) SetCellText(grid, row, column + kQtyOffset, "1");
    ComputeColumn(cutList, macPar, column);
  } else if (row > kTotalRow && header == "Qty") {
    ComputeColumn(cutList, macPar, column);
  }
  if (header == "Groove") GrvCk(cutList, grooveColumnsSetting);
}

std::optional<int> CurrentCellMoved(CutList& cutList, int column) {
  if (column < 1) return std::nullopt;
  const int group = GroupOfColumn(column);
  cutList.CNum = std::to_string(group);
  return group;
}

void KeyDownInGrid(CutList& cutList) {
  CellGrid& grid = cutList.grid;
  const int row = grid.CursorRow();
  const int column = grid.CursorColumn();
  if (row != kTotalRow || grid.Text(0, column) != "Position") return;
  grid.Format(row, column).locked = GroupHasCut(grid, column);
}

namespace {

// Cut programs and the pattern load keep CR LF; a text box gives plain line
// ends, or either.
std::string WithCrLfLineEnds(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // the LF writes it
    if (text[i] == '\n' || text[i] == '\r') {
      out += "\r\n";
      continue;
    }
    out += text[i];
  }
  return out;
}

}  // namespace

void DescChanged(CutList& cutList, const std::string& text) {
  cutList.Desc = Utf8Prefix(WithCrLfLineEnds(text), kMaxCellTextLength);
  SetCellText(cutList.grid, kDescRow, kDescColumn, cutList.Desc);
}

bool AskAndClearCutList(Ui& ui, CutList& cutList, FileList& programList, const FileSystem& fileSystem) {
  if (!Ask(ui, kClearQuestion)) return false;
  DescChanged(cutList, "");
  cutList.DispFName.clear();
  programList.Refresh(fileSystem);
  ui.PumpEvents();
  ClearCutlist(cutList);
  // The unit stays what the operator sees: an emptied list keeps its flag.
  SelectUnits(cutList, cutList.Units);
  StartOperatorAtFirstGroup(cutList);
  return true;
}

}  // namespace orl
