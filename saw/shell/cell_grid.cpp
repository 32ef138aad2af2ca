#include "saw/shell/cell_grid.h"

#include <algorithm>

namespace orl {
namespace {
const std::string kEmpty;
CellFormat outOfRangeFormat;
}  // namespace

CellGrid::CellGrid(int rows, int columns)
    : rows_(std::max(rows, 0)),
      capacityColumns_(std::max(columns, 0)),
      columns_(capacityColumns_),
      texts_(static_cast<std::size_t>(rows_ + 1) * (capacityColumns_ + 1)),
      formats_(texts_.size()),
      columnWidths_(capacityColumns_ + 1, 8),
      hiddenColumns_(capacityColumns_ + 1, false),
      hiddenRows_(rows_ + 1, false) {}

void CellGrid::SetColumns(int columns) { columns_ = std::clamp(columns, 0, capacityColumns_); }

bool CellGrid::Contains(int row, int column) const {
  return row >= 0 && row <= rows_ && column >= 0 && column <= columns_;
}

std::size_t CellGrid::Index(int row, int column) const {
  return static_cast<std::size_t>(row) * (capacityColumns_ + 1) + column;
}

const std::string& CellGrid::Text(int row, int column) const {
  return Contains(row, column) ? texts_[Index(row, column)] : kEmpty;
}

void CellGrid::SetText(int row, int column, std::string_view text) {
  if (Contains(row, column)) texts_[Index(row, column)] = text;
}

void CellGrid::ClearBlock(int row1, int column1, int row2, int column2) {
  for (int r = std::max(row1, 0); r <= std::min(row2, rows_); ++r)
    for (int c = std::max(column1, 0); c <= std::min(column2, columns_); ++c) texts_[Index(r, c)].clear();
}

CellFormat& CellGrid::Format(int row, int column) {
  if (!Contains(row, column)) return outOfRangeFormat = CellFormat{};
  return formats_[Index(row, column)];
}

const CellFormat& CellGrid::Format(int row, int column) const {
  static const CellFormat kDefault;
  return Contains(row, column) ? formats_[Index(row, column)] : kDefault;
}

int CellGrid::ColumnWidth(int column) const {
  return column >= 0 && column <= columns_ ? columnWidths_[column] : 0;
}

void CellGrid::SetColumnWidth(int column, int width) {
  if (column >= 0 && column <= columns_) columnWidths_[column] = width;
}

bool CellGrid::ColumnHidden(int column) const {
  return column >= 0 && column <= columns_ && hiddenColumns_[column];
}

void CellGrid::SetColumnHidden(int column, bool hidden) {
  if (column >= 0 && column <= columns_) hiddenColumns_[column] = hidden;
}

bool CellGrid::RowHidden(int row) const { return row >= 0 && row <= rows_ && hiddenRows_[row]; }

void CellGrid::SetRowHidden(int row, bool hidden) {
  if (row >= 0 && row <= rows_) hiddenRows_[row] = hidden;
}

void CellGrid::SetActiveCell(int row, int column) {
  activeRow_ = row;
  activeColumn_ = column;
}

void CellGrid::MoveCursor(int row, int column) {
  cursorRow_ = row;
  cursorColumn_ = column;
}

int CellGrid::SelectionFirstColumn() const { return blockFirstColumn_ > 0 ? blockFirstColumn_ : cursorColumn_; }

int CellGrid::SelectionLastColumn() const { return blockLastColumn_ > 0 ? blockLastColumn_ : cursorColumn_; }

void CellGrid::SetBlockSelection(int firstColumn, int lastColumn) {
  blockFirstColumn_ = std::min(firstColumn, lastColumn);
  blockLastColumn_ = std::max(firstColumn, lastColumn);
}

void CellGrid::ClearBlockSelection() { blockFirstColumn_ = blockLastColumn_ = 0; }

std::string GetCellText(CellGrid& grid, int row, int column) {
  grid.SetActiveCell(row, column);
  return grid.Text(row, column);
}

void SetCellText(CellGrid& grid, int row, int column, std::string_view text) {
  if (column <= 0 || row < 0) return;
  grid.SetActiveCell(row, column);
  grid.SetText(row, column, text);
}

}  // namespace orl
