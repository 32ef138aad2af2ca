// Moves values between the tag editor's widgets and the TagData row: a text
// box shows the value as text (Null as empty), a check box is checked for a
// value other than 0, the data type list selects the name it holds. A widget
// whose value is still the row's writes nothing back, so browsing never turns
// a Null into 0 or an empty text, nor marks an untouched row as changed.
#pragma once

#include <QStyledItemDelegate>

namespace queldb::ui {

class FieldDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};

}  // namespace queldb::ui
