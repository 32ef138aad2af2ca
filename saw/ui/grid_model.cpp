#include "saw/ui/grid_model.h"

#include <QColor>

#include "saw/shell/cell_rules.h"

namespace orl {
namespace {

QColor ToQColor(Rgb rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// Dark cells (the I/O states, the separators) need light text to be read.
QColor TextColorOn(Rgb background) {
  return ToQColor(background).lightness() < 110 ? QColor(Qt::white) : QColor(Qt::black);
}

bool IsNumeric(CellType type) { return type == CellType::Number || type == CellType::Integer; }

}  // namespace

GridModel::GridModel(const CellGrid& grid, QObject* parent) : QAbstractTableModel(parent), grid_(grid) {
  TakeSnapshot();
}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : grid_.Rows(); }

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shownColumns_; }

GridModel::Shown GridModel::ShownOf(int row, int column) const {
  const CellFormat& format = grid_.Format(row, column);
  return {grid_.Text(row, column), format.backColor, format.locked};
}

void GridModel::TakeSnapshot() {
  shownColumns_ = grid_.Columns();
  shown_.clear();
  shown_.reserve(static_cast<std::size_t>(grid_.Rows() * shownColumns_));
  for (int row = 1; row <= grid_.Rows(); ++row)
    for (int column = 1; column <= shownColumns_; ++column) shown_.push_back(ShownOf(row, column));
  shownHeaders_.clear();
  for (int column = 1; column <= shownColumns_; ++column) shownHeaders_.push_back(grid_.Text(0, column));
  for (int row = 1; row <= grid_.Rows(); ++row) shownHeaders_.push_back(grid_.Text(row, 0));
}

bool GridModel::HeadersChanged() const {
  std::size_t i = 0;
  for (int column = 1; column <= shownColumns_; ++column)
    if (shownHeaders_[i++] != grid_.Text(0, column)) return true;
  for (int row = 1; row <= grid_.Rows(); ++row)
    if (shownHeaders_[i++] != grid_.Text(row, 0)) return true;
  return false;
}

int GridModel::Refresh() {
  if (grid_.Columns() != shownColumns_) {
    beginResetModel();
    TakeSnapshot();
    endResetModel();
    return grid_.Rows() * shownColumns_;
  }
  if (HeadersChanged()) {
    TakeSnapshot();
    emit headerDataChanged(Qt::Horizontal, 0, shownColumns_ - 1);
    emit headerDataChanged(Qt::Vertical, 0, grid_.Rows() - 1);
  }
  int announced = 0;
  std::size_t i = 0;
  for (int row = 1; row <= grid_.Rows(); ++row) {
    for (int column = 1; column <= shownColumns_; ++column, ++i) {
      const CellFormat& format = grid_.Format(row, column);
      Shown& shown = shown_[i];
      if (shown.color == format.backColor && shown.locked == format.locked && shown.text == grid_.Text(row, column))
        continue;
      shown = ShownOf(row, column);
      const QModelIndex cell = IndexOf(row, column);
      emit dataChanged(cell, cell);
      ++announced;
    }
  }
  return announced;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row() + 1;
  const int column = index.column() + 1;
  const CellFormat& format = grid_.Format(row, column);
  switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(ShownCellText(grid_, row, column));
    case Qt::EditRole:
    case Qt::ToolTipRole: return QString::fromStdString(grid_.Text(row, column));
    case Qt::BackgroundRole: return ToQColor(format.backColor);
    case Qt::ForegroundRole: return TextColorOn(format.backColor);
    case Qt::TextAlignmentRole:
      return IsNumeric(format.type) ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default: return {};
  }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  const std::string& text = orientation == Qt::Horizontal ? grid_.Text(0, section + 1) : grid_.Text(section + 1, 0);
  return QString::fromStdString(text);
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  const CellFormat& format = grid_.Format(index.row() + 1, index.column() + 1);
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (!format.locked && format.type != CellType::Button) flags |= Qt::ItemIsEditable;
  return flags;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || !onEdit_) return false;
  onEdit_(index.row() + 1, index.column() + 1, value.toString().toStdString());
  return true;
}

}  // namespace orl
