#pragma once
// The view every grid of the window uses: renders a GridModel, keeps the
// grid's hidden rows and columns, column widths and current cell, paints
// button cells as buttons, and keeps typed values inside a cell's range.
// It reports in the grid's own (row, column), counted from 1.
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
  // Brings the view up to the grid: changed cells, hidden rows and columns,
  // widths and the current cell.
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

 private:
  void SyncHiddenAndWidths();
  void SyncCurrentCell();
  bool Owns(const QWidget* widget) const;

  GridModel* model_;
  bool widthsFromGrid_ = true;
  // What the column widths were last made from (width in characters and
  // header), so measuring text happens only when one changes.
  std::vector<std::pair<int, std::string>> sizedFrom_;
  bool syncing_ = false;  // the program moves the current cell: not an operator's move
};

}  // namespace orl
