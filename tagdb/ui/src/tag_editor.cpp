#include "tag_editor.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDataWidgetMapper>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlField>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <algorithm>

#include "field_delegate.h"
#include "group_rules.h"
#include "queldb/db.h"
#include "queldb/tag_editor.h"
#include "record_navigator.h"
#include "tag_fields.h"

namespace queldb::ui {
namespace {

constexpr const char* kCannotOpen = "The tag database %1 cannot be opened.";
constexpr const char* kNoDataTypes = "The list of data types cannot be read from the tag database.";
constexpr const char* kNotSaved =
    "The row was not saved. Correct it and save again; the rows saved before are unchanged.";
constexpr const char* kNotSavedOnLeave = "The changes to the row were not saved and are discarded.";
constexpr const char* kNotAdded = "No new row was added.";
constexpr const char* kNotDeleted = "The row was not deleted.";
constexpr const char* kNothingToDelete = "There is no row to delete: the table is empty.";
constexpr const char* kDatabaseSays = "The database reports: %1";
constexpr const char* kNotANumber = "%1 needs a number, not \"%2\".";
constexpr const char* kKeyField = "ID";

// The field's kind from the tag row's own list; a field the list does not
// know (a table made elsewhere) by the database's column type.
FieldKind KindOf(const QSqlField& field) {
  const QByteArray name = field.name().toLatin1();
  if (const TagField* known = FindTagField(std::string_view(name.constData(), name.size()))) return known->kind;
  switch (field.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong: return FieldKind::Integer;
    case QMetaType::Double: return FieldKind::Real;
    default: return FieldKind::Text;
  }
}

// The first text box of a numeric field that holds no number, with the field's
// name; the database would keep such text as it stands.
std::optional<QPair<QString, QString>> FieldWithoutNumber(const TagEditorForm& form, const QSqlRecord& fields) {
  for (auto it = form.fields.begin(); it != form.fields.end(); ++it) {
    auto* text = qobject_cast<QLineEdit*>(it.value());
    const int column = fields.indexOf(it.key());
    if (!text || column < 0 || text->text().isEmpty()) continue;
    const QByteArray typed = text->text().toUtf8();
    if (!FieldTakesText(KindOf(fields.field(column)), std::string_view(typed.constData(), typed.size())))
      return QPair<QString, QString>(fields.fieldName(column), text->text());
  }
  return std::nullopt;
}

}  // namespace

TagEditor::TagEditor(const QString& databaseFile, QWidget* parent)
    : QWidget(parent, Qt::Window), source_(databaseFile) {
  setWindowTitle(kTagEditorTitle);
  form_ = BuildTagEditorForm(this);
  form_.alarmInformation->hide();
  connect(form_.exitButton, &QPushButton::clicked, this, &QWidget::close);
  if (!Open()) {
    // Nothing to edit; EXIT still closes the window.
    form_.fieldArea->setEnabled(false);
    for (QWidget* widget : {static_cast<QWidget*>(form_.navigator), static_cast<QWidget*>(form_.newButton),
                            static_cast<QWidget*>(form_.deleteButton), static_cast<QWidget*>(form_.saveButton)}) {
      widget->setEnabled(false);
    }
    return;
  }
  BindFields();
  ConnectActions();
  ShowRow(source_.RowCount() > 0 ? 0 : -1);
}

bool TagEditor::Open() {
  if (DbResult failure = source_.Open()) {
    ShowError(QString(kCannotOpen).arg(source_.DatabaseFile()), failure, this);
    return false;
  }
  QStringList names;
  if (DbResult failure = source_.ReadDataTypeNames(names)) ShowError(kNoDataTypes, failure, this);
  form_.dataType->addItems(names);
  return true;
}

void TagEditor::BindFields() {
  mapper_ = new QDataWidgetMapper(this);
  mapper_->setModel(source_.Tags());
  mapper_->setItemDelegate(new FieldDelegate(mapper_));
  mapper_->setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
  const QSqlRecord fields = source_.Tags()->record();
  for (auto it = form_.fields.begin(); it != form_.fields.end(); ++it) {
    const int column = fields.indexOf(it.key());  // any letter case
    if (column >= 0) {
      mapper_->addMapping(it.value(), column);
    } else {
      it.value()->setEnabled(false);  // a field this table does not have
    }
  }
}

void TagEditor::ConnectActions() {
  // The groups follow the row's check boxes whenever the row changes.
  connect(mapper_, &QDataWidgetMapper::currentIndexChanged, this, &TagEditor::ApplyGroups);
  for (QCheckBox* box : {form_.alarms, form_.discrete, form_.log, form_.dependency, form_.alarmOnWord,
                         form_.dependencyOnWord}) {
    connect(box, &QCheckBox::toggled, this, &TagEditor::ApplyGroups);
  }
  connect(form_.navigator, &RecordNavigator::first, this, [this] { MoveTo(0); });
  connect(form_.navigator, &RecordNavigator::previous, this, [this] { MoveTo(std::max(row_ - 1, 0)); });
  connect(form_.navigator, &RecordNavigator::next, this,
          [this] { MoveTo(std::min(row_ + 1, source_.RowCount() - 1)); });
  connect(form_.navigator, &RecordNavigator::last, this, [this] { MoveTo(source_.RowCount() - 1); });
  connect(form_.newButton, &QPushButton::clicked, this, &TagEditor::AddNew);
  connect(form_.deleteButton, &QPushButton::clicked, this, &TagEditor::DeleteCurrent);
  connect(form_.saveButton, &QPushButton::clicked, this, &TagEditor::SaveCurrent);
}

void TagEditor::MoveTo(int row) {
  if (!SaveEdits(kNotSavedOnLeave, this)) source_.DiscardChanges();
  ShowRow(row);
}

void TagEditor::SaveCurrent() {
  if (SaveEdits(kNotSaved, this)) ShowRow(row_);
}

void TagEditor::AddNew() {
  if (!SaveEdits(kNotAdded, this)) return;
  int newRow = -1;
  if (DbResult failure = source_.AddNewRow(newRow)) {
    ShowError(kNotAdded, failure, this);
    ShowRowUnlessHeld();
    return;
  }
  ShowRow(newRow);
}

void TagEditor::DeleteCurrent() {
  if (row_ < 0 || row_ >= source_.RowCount()) {
    ShowError(kNothingToDelete, std::nullopt, this);
    return;
  }
  if (!SaveEdits(kNotDeleted, this)) return;
  if (DbResult failure = source_.DeleteRow(row_)) {
    ShowError(kNotDeleted, failure, this);
    ShowRowUnlessHeld();
    return;
  }
  // The next row took the deleted one's place; past the end, the last row.
  ShowRow(std::min(row_, source_.RowCount() - 1));
}

bool TagEditor::SaveEdits(const char* failureSummary, QWidget* messageParent) {
  QVariant key;
  if (row_ >= 0) {
    if (auto field = FieldWithoutNumber(form_, source_.Tags()->record())) {
      ShowError(QString(failureSummary) + "\n\n" + QString(kNotANumber).arg(field->first, field->second),
                std::nullopt, messageParent);
      return false;
    }
    mapper_->submit();
    key = KeyOf(row_);
  }
  if (DbResult failure = source_.Save()) {
    ShowError(failureSummary, failure, messageParent);
    return false;
  }
  // The table was read again, and a changed ID may have moved the row.
  if (!key.isNull()) row_ = RowOfKey(key, row_);
  return true;
}

QVariant TagEditor::KeyOf(int row) const {
  const int column = source_.Tags()->record().indexOf(kKeyField);
  return column < 0 ? QVariant() : source_.Tags()->index(row, column).data(Qt::EditRole);
}

int TagEditor::RowOfKey(const QVariant& key, int fallback) const {
  for (int row = 0; row < source_.RowCount(); ++row) {
    if (KeyOf(row).toString() == key.toString()) return row;
  }
  return std::min(fallback, source_.RowCount() - 1);
}

void TagEditor::ShowRowUnlessHeld() {
  if (!source_.Tags()->isDirty()) ShowRow(std::min(row_, source_.RowCount() - 1));
}

void TagEditor::ShowRow(int row) {
  row_ = row;
  const bool hasRow = row >= 0 && row < source_.RowCount();
  if (hasRow) {
    mapper_->setCurrentIndex(row);
  } else {
    ClearFields();
  }
  form_.fieldArea->setEnabled(hasRow);
  ApplyGroups();
}

void TagEditor::ClearFields() {
  for (QWidget* widget : form_.fields) {
    if (auto* text = qobject_cast<QLineEdit*>(widget)) text->clear();
    if (auto* box = qobject_cast<QCheckBox*>(widget)) box->setChecked(false);
    if (auto* list = qobject_cast<QComboBox*>(widget)) list->setCurrentIndex(-1);
  }
}

void TagEditor::ApplyGroups() {
  const GroupVisibility shown = VisibilityFor({form_.alarms->isChecked(), form_.discrete->isChecked(),
                                               form_.log->isChecked(), form_.dependency->isChecked(),
                                               form_.alarmOnWord->isChecked(),
                                               form_.dependencyOnWord->isChecked()});
  form_.alarmInformation->setVisible(shown.alarmInformation);
  form_.analogLimits->setVisible(shown.analogLimits);
  form_.logFunctions->setVisible(shown.logFunctions);
  form_.dependencyAddress->setVisible(shown.dependencyAddress);
  form_.alarmBitLabel->setText(shown.alarmBitLabel);
  form_.dependencyBitLabel->setText(shown.dependencyBitLabel);
}

void TagEditor::closeEvent(QCloseEvent* event) {
  if (mapper_ && !SaveEdits(kNotSavedOnLeave, parentWidget())) source_.DiscardChanges();
  // New names and addresses take effect in the library.
  Db::LoadTagDatabase();
  event->accept();
}

void TagEditor::ShowError(const QString& summary, const std::optional<QString>& databaseText,
                          QWidget* messageParent) {
  QString text = summary;
  if (databaseText) text += "\n\n" + QString(kDatabaseSays).arg(*databaseText);
  // Not blocking: the box waits for the user while the editor stays as it is.
  auto* box = new QMessageBox(QMessageBox::Warning, kTagEditorTitle, text, QMessageBox::Ok, messageParent);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

}  // namespace queldb::ui

namespace queldb {

QWidget* OpenTagEditor(const QString& databaseFile, QWidget* parent) {
  auto* editor = new ui::TagEditor(databaseFile, parent);
  editor->setAttribute(Qt::WA_DeleteOnClose);
  editor->show();
  return editor;
}

}  // namespace queldb
