#pragma once
// One table model for every grid of the window (the cut list, the machine
// parameters, the paths and the I/O diagnostics): it renders a CellGrid and
// hands the operator's edits to the program. Refresh compares the grid with
// what the view last showed and announces only the cells that changed, so a
// scan tick that changes nothing repaints nothing.
#include <QAbstractTableModel>
#include <functional>
#include <string>
#include <vector>

#include "saw/shell/cell_grid.h"

namespace orl {

class GridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // Called with the grid's own (row, column), counted from 1.
  using EditHandler = std::function<void(int row, int column, const std::string& text)>;

  explicit GridModel(const CellGrid& grid, QObject* parent = nullptr);

  void SetEditHandler(EditHandler handler) { onEdit_ = std::move(handler); }
  const CellGrid& Grid() const { return grid_; }

  // Announces what changed in the grid since the last refresh. Returns the
  // number of cells announced.
  int Refresh();

  // The model index of the grid's (row, column).
  QModelIndex IndexOf(int row, int column) const { return index(row - 1, column - 1); }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 private:
  struct Shown {
    std::string text;
    Rgb color = kWhite;
    bool locked = false;
    bool operator==(const Shown&) const = default;
  };
  Shown ShownOf(int row, int column) const;
  void TakeSnapshot();
  bool HeadersChanged() const;

  const CellGrid& grid_;
  EditHandler onEdit_;
  int shownColumns_ = 0;
  std::vector<Shown> shown_;  // data cells, row by row
  std::vector<std::string> shownHeaders_;
};

}  // namespace orl
