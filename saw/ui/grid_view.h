#pragma once
// The view every grid of the window uses: renders a GridModel, keeps the
// grid's hidden rows and columns and column widths, paints button cells as
// buttons, and helps the operator type what a cell takes. It reports in the
// grid's own (row, column), counted from 1.
//
// The view's current cell is the operator's cursor. The program's own reads
// and writes never move it; only a move of the grid's cursor by the engine
// (a load that sends the operator to the list's first cell) does. Enter
// commits an edit and moves the cursor one row down, as in a spreadsheet.
#include <QTableView>
#include <string>
#include <utility>
#include <vector>

#include "saw/ui/grid_model.h"

namespace orl {

class GridView : public QTableView {
  Q_OBJECT

 public:
  GridView(GridModel* model, QWidget* parent = nullptr);

  GridModel* Model() const { return model_; }
  // A cell editor is open.
  bool Editing() const { return state() == QAbstractItemView::EditingState; }
  // Brings the view up to the grid: changed cells, hidden rows and columns,
  // widths, and the cursor when the engine moved it.
  void Render();
  // Columns sized from the grid's widths in characters; without it the
  // last column takes the room that is left.
  void SetWidthsFromGrid(bool fromGrid) { widthsFromGrid_ = fromGrid; }

 signals:
  void cellClicked(int row, int column);
  void currentCellMoved(int row, int column);
  void keyPressedInGrid(int key);
  void lostFocus();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

 private:
  void SyncHiddenAndWidths();
  void SyncCursor();
  void MoveDownOneRow();
  bool Owns(const QWidget* widget) const;

  GridModel* model_;
  bool widthsFromGrid_ = true;
  // What the column widths were last made from (width in characters and
  // header), so measuring text happens only when one changes.
  std::vector<std::pair<int, std::string>> sizedFrom_;
  std::pair<int, int> seenCursor_{0, 0};  // the grid's cursor the view last followed
  bool syncing_ = false;  // the engine moves the cursor: not an operator's move
};

}  // namespace orl
