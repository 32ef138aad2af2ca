#pragma once
// The spreadsheet model behind every grid of the main window (the cut list,
// the machine parameters, the paths and the I/O diagnostics): text cells
// addressed (row, column) with data from 1 and headers in row and column 0,
// per-cell type, lock and colour, hidden rows and columns, an active cell,
// the operator's cursor and a block selection. The Qt view only renders it.
//
// The active cell is the program's bookkeeping: every GetCellText and
// SetCellText moves it, and so does each hand-over to the saw. The cursor is
// the cell the operator clicked or moved to with the keyboard; only the
// operator's own moves (and a load that sends the operator to its first
// cell) change it, so what is typed lands where the operator put it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orl {

using Rgb = std::uint32_t;  // 0xRRGGBB
inline constexpr Rgb kWhite = 0xFFFFFF;
inline constexpr Rgb kGrey = 0xC0C0C0;
inline constexpr Rgb kCyan = 0x00FFFF;
inline constexpr Rgb kBlack = 0x000000;

enum class CellType { Text, Number, Integer, Button };

struct CellFormat {
  CellType type = CellType::Text;
  double min = 0;          // Number and Integer cells
  double max = 0;
  int decimals = 0;        // Number cells
  int maxLength = 0;       // Text cells; 0 = no limit
  bool spinButtons = false;
  bool locked = false;
  Rgb backColor = kWhite;
};

class CellGrid {
 public:
  CellGrid(int rows, int columns);

  int Rows() const { return rows_; }
  int Columns() const { return columns_; }
  // Reduces (or restores up to the size it was made with) the column count.
  void SetColumns(int columns);

  bool Contains(int row, int column) const;

  // Out-of-range cells read as empty text and ignore writes.
  const std::string& Text(int row, int column) const;
  void SetText(int row, int column, std::string_view text);
  void ClearBlock(int row1, int column1, int row2, int column2);

  CellFormat& Format(int row, int column);
  const CellFormat& Format(int row, int column) const;

  int ColumnWidth(int column) const;
  void SetColumnWidth(int column, int width);
  bool ColumnHidden(int column) const;
  void SetColumnHidden(int column, bool hidden);
  bool RowHidden(int row) const;
  void SetRowHidden(int row, bool hidden);

  int ActiveRow() const { return activeRow_; }
  int ActiveColumn() const { return activeColumn_; }
  void SetActiveCell(int row, int column);

  int CursorRow() const { return cursorRow_; }
  int CursorColumn() const { return cursorColumn_; }
  void MoveCursor(int row, int column);

  // The block selection's first and last column; without a block the
  // cursor's column is both.
  int SelectionFirstColumn() const;
  int SelectionLastColumn() const;
  bool HasBlockSelection() const { return blockFirstColumn_ > 0; }
  void SetBlockSelection(int firstColumn, int lastColumn);
  void ClearBlockSelection();

 private:
  std::size_t Index(int row, int column) const;

  int rows_;
  int capacityColumns_;
  int columns_;
  std::vector<std::string> texts_;
  std::vector<CellFormat> formats_;
  std::vector<int> columnWidths_;
  std::vector<bool> hiddenColumns_;
  std::vector<bool> hiddenRows_;
  int activeRow_ = 1;
  int activeColumn_ = 1;
  int cursorRow_ = 1;
  int cursorColumn_ = 1;
  int blockFirstColumn_ = 0;  // 0 = no block selected
  int blockLastColumn_ = 0;
};

// Makes (row, column) the grid's current cell and returns its text.
std::string GetCellText(CellGrid& grid, int row, int column);

// Does nothing when column <= 0 or row < 0 (row 0, the header row, is
// allowed); otherwise makes (row, column) the current cell and sets its text.
void SetCellText(CellGrid& grid, int row, int column, std::string_view text);

}  // namespace orl
