#include "ui_fixture.h"

#include <stdlib.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <memory>

#include "queldb/tag_editor.h"

namespace queldb::testing {
namespace {

std::unique_ptr<QTemporaryDir> libraryFolder;

constexpr const char* kConnection = "ui-test";

void ProcessDeletes() {
  QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Runs `work` on a connection of its own to the tag database.
template <typename Work>
void WithDatabase(Work work) {
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", kConnection);
    db.setDatabaseName(TagDatabaseFile());
    ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
    work(db);
    db.close();
  }
  QSqlDatabase::removeDatabase(kConnection);
}

}  // namespace

void PrepareLibraryFolder() {
  libraryFolder = std::make_unique<QTemporaryDir>(QDir::temp().filePath("tagdb-ui-XXXXXX"));
  const QString folder = libraryFolder->path();
  QFile settings(QDir(folder).filePath("KVD.INI"));
  settings.open(QIODevice::WriteOnly);
  settings.write(QString("[IOType]\nIODevice=Modbus\n[DatabasePath]\npDatabasePath=%1/\n").arg(folder).toUtf8());
  settings.close();
  setenv("QUELDB_SYSTEM_DIR", folder.toLocal8Bit().constData(), 1);
}

void RemoveLibraryFolder() { libraryFolder.reset(); }

QString TagDatabaseFile() { return QDir(libraryFolder->path()).filePath("Quelontrol.mdb"); }

UiTest::~UiTest() {
  if (editor_) editor_->close();
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (qobject_cast<QMessageBox*>(window)) window->close();
  }
  ProcessDeletes();
}

void UiTest::CreateTagDatabase() {
  QFile::remove(TagDatabaseFile());
  ASSERT_EQ(QProcess::execute(QUELDB_TOOL, {"init", libraryFolder->path()}), 0);
}

void UiTest::Sql(const QStringList& statements) {
  WithDatabase([&](QSqlDatabase& db) {
    for (const QString& statement : statements) {
      QSqlQuery query(db);
      EXPECT_TRUE(query.exec(statement)) << statement.toStdString() << ": "
                                         << query.lastError().text().toStdString();
    }
  });
}

QVariant UiTest::SqlValue(const QString& text) {
  QVariant value;
  WithDatabase([&](QSqlDatabase& db) {
    QSqlQuery query(db);
    EXPECT_TRUE(query.exec(text) && query.next()) << text.toStdString();
    value = query.value(0);
  });
  return value;
}

QWidget* UiTest::OpenEditor(const QString& file) {
  editor_ = OpenTagEditor(file);
  QApplication::processEvents();
  return editor_;
}

void UiTest::Click(const char* buttonName) {
  auto* button = editor_->findChild<QAbstractButton*>(buttonName);
  ASSERT_NE(button, nullptr) << buttonName;
  button->click();
  QApplication::processEvents();
}

QLineEdit* UiTest::Text(const char* field) {
  auto* text = editor_->findChild<QLineEdit*>(field);
  EXPECT_NE(text, nullptr) << field;
  return text;
}

QCheckBox* UiTest::Check(const char* field) {
  auto* box = editor_->findChild<QCheckBox*>(field);
  EXPECT_NE(box, nullptr) << field;
  return box;
}

bool UiTest::Shown(const char* frameName) {
  auto* frame = editor_->findChild<QWidget*>(frameName);
  EXPECT_NE(frame, nullptr) << frameName;
  return frame && frame->isVisibleTo(editor_);
}

QString UiTest::TakeMessage() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* box = qobject_cast<QMessageBox*>(window);
    if (box && box->isVisible()) {
      QString text = box->text();
      box->close();
      ProcessDeletes();
      return text;
    }
  }
  ADD_FAILURE() << "no message box";
  return {};
}

}  // namespace queldb::testing
