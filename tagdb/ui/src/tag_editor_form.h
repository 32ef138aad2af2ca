// The widgets of the tag editor, laid out under their captions.
#pragma once

#include <QHash>
#include <QString>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace queldb::ui {

class RecordNavigator;

struct TagEditorForm {
  // The widget that edits each TagData field, by the field's name.
  QHash<QString, QWidget*> fields;
  QComboBox* dataType = nullptr;
  QCheckBox* alarms = nullptr;
  QCheckBox* discrete = nullptr;
  QCheckBox* log = nullptr;
  QCheckBox* dependency = nullptr;
  QCheckBox* alarmOnWord = nullptr;
  QCheckBox* dependencyOnWord = nullptr;
  QGroupBox* alarmInformation = nullptr;
  QGroupBox* analogLimits = nullptr;
  QGroupBox* logFunctions = nullptr;
  QGroupBox* dependencyAddress = nullptr;
  QLabel* alarmBitLabel = nullptr;
  QLabel* dependencyBitLabel = nullptr;
  QWidget* fieldArea = nullptr;  // every field: disabled while there is no row
  RecordNavigator* navigator = nullptr;
  QPushButton* newButton = nullptr;
  QPushButton* deleteButton = nullptr;
  QPushButton* saveButton = nullptr;
  QPushButton* exitButton = nullptr;
};

// Builds the form inside the window. Each field widget is named after its field.
TagEditorForm BuildTagEditorForm(QWidget* window);

}  // namespace queldb::ui
