#include "saw/ui/grid_view.h"

#include <QApplication>
#include <QDoubleValidator>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QSpinBox>
#include <QStyledItemDelegate>

namespace orl {
namespace {

// Takes a decimal comma as a decimal point, so "12,5" is 12.5 and not 125.
class DecimalValidator : public QDoubleValidator {
 public:
  using QDoubleValidator::QDoubleValidator;
  State validate(QString& input, int& pos) const override {
    input.replace(',', '.');
    return QDoubleValidator::validate(input, pos);
  }
};

// Edits a cell within its type's range and paints button cells as buttons.
// The editors only help while typing; the engine decides what a cell takes.
// An editor left unchanged writes nothing, so opening a cell never changes it.
class CellDelegate : public QStyledItemDelegate {
  static constexpr const char* kFilled = "filledFromCell";
  static constexpr const char* kOpenedWith = "openedWith";

 public:
  CellDelegate(const CellGrid& grid, QObject* parent) : QStyledItemDelegate(parent), grid_(grid) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const CellFormat& format = Format(index);
    if (format.type == CellType::Integer && format.spinButtons) {
      auto* spin = new QSpinBox(parent);  // steps of 1, no wrap-around
      spin->setFrame(false);
      // One below the range stands for an empty cell, shown blank.
      spin->setRange(static_cast<int>(format.min) - 1, static_cast<int>(format.max));
      spin->setSpecialValueText(" ");
      return spin;
    }
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    if (format.type == CellType::Number) {
      auto* validator = new DecimalValidator(format.min, format.max, format.decimals, editor);
      validator->setNotation(QDoubleValidator::StandardNotation);
      validator->setLocale(QLocale::c());
      editor->setValidator(validator);
    } else if (format.type == CellType::Integer) {
      editor->setValidator(new QIntValidator(static_cast<int>(format.min), static_cast<int>(format.max), editor));
    } else if (format.maxLength > 0) {
      editor->setMaxLength(format.maxLength);
    }
    (void)option;
    return editor;
  }

  // An open editor is filled once: a later change of its cell (the
  // highlight of the cut being made passing over it) must not wipe what the
  // operator is typing.
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    if (editor->property(kFilled).toBool()) return;
    const QString text = index.data(Qt::EditRole).toString();
    if (auto* spin = qobject_cast<QSpinBox*>(editor))
      spin->setValue(text.trimmed().isEmpty() ? spin->minimum() : text.toInt());
    else
      QStyledItemDelegate::setEditorData(editor, index);
    editor->setProperty(kOpenedWith, EditorText(editor));
    editor->setProperty(kFilled, true);
  }

  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    const QString text = EditorText(editor);
    if (text == editor->property(kOpenedWith).toString()) return;  // the operator changed nothing
    model->setData(index, text, Qt::EditRole);
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (Format(index).type != CellType::Button) return PaintCell(painter, option, index);
    QStyleOptionButton button;
    button.rect = option.rect.adjusted(1, 1, -1, -1);
    button.text = index.data().toString();
    button.state = QStyle::State_Enabled | QStyle::State_Raised;
    if (option.state & QStyle::State_HasFocus) button.state |= QStyle::State_HasFocus;
    QApplication::style()->drawControl(QStyle::CE_PushButton, &button, painter);
  }

 private:
  // The cell keeps its own colour when current (the highlight of the cell
  // being cut and the I/O states must stay readable); a frame marks it.
  void PaintCell(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem plain(option);
    const bool current = plain.state & QStyle::State_Selected;
    plain.state &= ~QStyle::State_Selected;
    QStyledItemDelegate::paint(painter, plain, index);
    if (!current) return;
    painter->save();
    painter->setPen(QPen(QColor(0x00, 0x40, 0xC0), 2));
    painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
    painter->restore();
  }

  static QString EditorText(QWidget* editor) {
    if (auto* spin = qobject_cast<QSpinBox*>(editor))
      return spin->value() == spin->minimum() ? QString() : QString::number(spin->value());
    if (auto* line = qobject_cast<QLineEdit*>(editor)) return line->text();
    return {};
  }

  const CellFormat& Format(const QModelIndex& index) const { return grid_.Format(index.row() + 1, index.column() + 1); }
  const CellGrid& grid_;
};

}  // namespace

GridView::GridView(GridModel* model, QWidget* parent) : QTableView(parent), model_(model) {
  setModel(model);
  setItemDelegate(new CellDelegate(model->Grid(), this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  setTabKeyNavigation(false);  // Tab leaves the grid, so every control stays in reach of the keyboard
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  connect(this, &QTableView::clicked, this,
          [this](const QModelIndex& index) { emit cellClicked(index.row() + 1, index.column() + 1); });
  // Focus moving between the grid and its cell editor stays inside the grid;
  // the editor has committed its text by the time this is told.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
    if (Owns(old) && !Owns(now)) emit lostFocus();
  });
  Render();
}

void GridView::Render() {
  model_->Refresh();
  SyncHiddenAndWidths();
  SyncCursor();
}

void GridView::SyncHiddenAndWidths() {
  const CellGrid& grid = model_->Grid();
  const int charWidth = fontMetrics().averageCharWidth();
  for (int column = 1; column <= grid.Columns(); ++column) {
    const bool hidden = grid.ColumnHidden(column);
    if (isColumnHidden(column - 1) != hidden) setColumnHidden(column - 1, hidden);
    if (!widthsFromGrid_ || grid.ColumnWidth(column) <= 0) continue;
    if (sizedFrom_.size() < static_cast<std::size_t>(column)) sizedFrom_.resize(column);
    std::pair<int, std::string> from{grid.ColumnWidth(column), grid.Text(0, column)};
    if (sizedFrom_[column - 1] == from) continue;
    const int headerWidth = fontMetrics().horizontalAdvance(QString::fromStdString(from.second)) + 10;
    setColumnWidth(column - 1, std::max(from.first * charWidth + 8, headerWidth));
    sizedFrom_[column - 1] = std::move(from);
  }
  if (!widthsFromGrid_) horizontalHeader()->setStretchLastSection(true);
  for (int row = 1; row <= grid.Rows(); ++row)
    if (isRowHidden(row - 1) != grid.RowHidden(row)) setRowHidden(row - 1, grid.RowHidden(row));
}

void GridView::SyncCursor() {
  const CellGrid& grid = model_->Grid();
  const std::pair<int, int> cursor{grid.CursorRow(), grid.CursorColumn()};
  if (cursor == seenCursor_ || state() == QAbstractItemView::EditingState) return;
  seenCursor_ = cursor;
  const QModelIndex wanted = model_->IndexOf(cursor.first, cursor.second);
  if (!wanted.isValid() || wanted == currentIndex()) return;
  // The selection stays as it is: the groups a run cuts come from it.
  syncing_ = true;
  selectionModel()->setCurrentIndex(wanted, QItemSelectionModel::NoUpdate);
  syncing_ = false;
}

void GridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (!current.isValid()) return;
  seenCursor_ = {current.row() + 1, current.column() + 1};
  if (!syncing_) emit currentCellMoved(current.row() + 1, current.column() + 1);
}

void GridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  QTableView::closeEditor(editor, hint);
  // Enter commits with this hint; Tab, Escape and a click elsewhere do not.
  if (hint == QAbstractItemDelegate::SubmitModelCache) MoveDownOneRow();
}

void GridView::MoveDownOneRow() {
  const QModelIndex current = currentIndex();
  if (!current.isValid()) return;
  for (int row = current.row() + 1; row < model_->rowCount(); ++row) {
    if (isRowHidden(row)) continue;
    setCurrentIndex(model_->index(row, current.column()));
    return;
  }
}

void GridView::keyPressEvent(QKeyEvent* event) {
  if (state() != QAbstractItemView::EditingState) emit keyPressedInGrid(event->key());
  const bool enterOnButton = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
                             currentIndex().isValid() &&
                             model_->Grid().Format(currentIndex().row() + 1, currentIndex().column() + 1).type ==
                                 CellType::Button;
  if (enterOnButton) return;  // the key press above already asked for the button's action
  QTableView::keyPressEvent(event);
}

bool GridView::Owns(const QWidget* widget) const { return widget && (widget == this || isAncestorOf(widget)); }

}  // namespace orl
