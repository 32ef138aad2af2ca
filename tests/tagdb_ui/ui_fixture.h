// Test base of the widget tests: the library's settings folder (Modbus, the
// tag database beside KVD.INI), a tag database made by `queldb init`, and
// helpers that find the editor's widgets and its message boxes.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QPointer>
#include <QWidget>

class QCheckBox;
class QLineEdit;

namespace queldb::testing {

// Makes the folder and points QUELDB_SYSTEM_DIR at it; once per process.
void PrepareLibraryFolder();
void RemoveLibraryFolder();
// The library's tag database file, in that folder.
QString TagDatabaseFile();

class UiTest : public ::testing::Test {
 protected:
  ~UiTest() override;

  // A new empty tag database in place of any earlier one.
  void CreateTagDatabase();
  // Runs statements on the tag database; fails the test on an error.
  void Sql(const QStringList& statements);
  // The first value of the query's first row.
  QVariant SqlValue(const QString& query);

  // Opens the editor on the library's tag database; closed after the test.
  QWidget* OpenEditor(const QString& file = TagDatabaseFile());
  void Click(const char* buttonName);
  QLineEdit* Text(const char* field);
  QCheckBox* Check(const char* field);
  bool Shown(const char* frameName);
  // The text of the message box the editor shows, which is then closed; empty
  // (and a failure) when there is none.
  QString TakeMessage();

  QPointer<QWidget> editor_;
};

}  // namespace queldb::testing
