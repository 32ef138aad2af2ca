// The window "Tag Database Edit": one TagData row at a time in the form's
// fields, the "Record Select" navigator and the NEW, DELETE, SAVE and EXIT
// buttons. Edits are held until SAVE, or until the row is left or the window
// closes, which save them first.
#pragma once

#include <QWidget>

#include "tag_data_source.h"
#include "tag_editor_form.h"

class QDataWidgetMapper;

namespace queldb::ui {

inline constexpr const char* kTagEditorTitle = "Tag Database Edit";

class TagEditor : public QWidget {
  Q_OBJECT

 public:
  explicit TagEditor(const QString& databaseFile, QWidget* parent = nullptr);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  bool Open();
  void BindFields();
  void ConnectActions();
  void MoveTo(int row);
  void AddNew();
  void DeleteCurrent();
  void SaveCurrent();
  // Puts what the fields hold into the table and saves it; false after a
  // failure, which leaves the edits held.
  bool SaveEdits(const char* failureSummary, QWidget* messageParent);
  // The row's ID, which finds it again after the table was read anew.
  QVariant KeyOf(int row) const;
  int RowOfKey(const QVariant& key, int fallback) const;
  // Shows the row again after the table was read anew, unless edits are held.
  void ShowRowUnlessHeld();
  void ShowRow(int row);
  void ClearFields();
  void ApplyGroups();
  void ShowError(const QString& summary, const std::optional<QString>& databaseText,
                 QWidget* messageParent);

  TagDataSource source_;
  TagEditorForm form_;
  QDataWidgetMapper* mapper_ = nullptr;
  int row_ = -1;
};

}  // namespace queldb::ui
