#include "field_delegate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace queldb::ui {
namespace {

QString ShownText(const QVariant& value) { return value.isNull() ? QString() : value.toString(); }

bool IsChecked(const QVariant& value) { return !value.isNull() && value.toInt() != 0; }

}  // namespace

void FieldDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  const QVariant value = index.data(Qt::EditRole);
  if (auto* box = qobject_cast<QCheckBox*>(editor)) {
    box->setChecked(IsChecked(value));
  } else if (auto* list = qobject_cast<QComboBox*>(editor)) {
    // A name the list does not offer shows as no selection and is kept.
    list->setCurrentIndex(list->findText(ShownText(value), Qt::MatchFixedString));
  } else if (auto* text = qobject_cast<QLineEdit*>(editor)) {
    text->setText(ShownText(value));
    text->setCursorPosition(0);
  }
}

void FieldDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                 const QModelIndex& index) const {
  const QVariant value = index.data(Qt::EditRole);
  if (auto* box = qobject_cast<QCheckBox*>(editor)) {
    if (box->isChecked() != IsChecked(value)) model->setData(index, box->isChecked() ? 1 : 0);
  } else if (auto* list = qobject_cast<QComboBox*>(editor)) {
    if (list->currentIndex() >= 0 && list->currentText() != ShownText(value)) {
      model->setData(index, list->currentText());
    }
  } else if (auto* text = qobject_cast<QLineEdit*>(editor)) {
    if (text->text() != ShownText(value)) {
      model->setData(index, text->text().isEmpty() ? QVariant() : QVariant(text->text()));
    }
  }
}

}  // namespace queldb::ui
