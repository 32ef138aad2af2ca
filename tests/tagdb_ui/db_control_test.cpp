// The control widget: its properties and their bag, its fixed size, the
// shared database behind every control, the about box and the editor.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include "queldb/db_control.h"
#include "ui_fixture.h"

namespace queldb::testing {
namespace {

using DbControlTest = UiTest;

// The defaults; events never raised; a property set reports its name, is
// held to 16 bits and changes nothing else, not even the widget's own state.
TEST_F(DbControlTest, StartsWithTheDefaultsAndReportsOnlyPropertyChanges) {
  DbControl control;
  control.show();
  EXPECT_FALSE(control.Enabled());
  EXPECT_EQ(control.BorderStyle(), 0);
  EXPECT_EQ(control.size(), QSize(32, 33));

  QSignalSpy clicks(&control, &DbControl::clicked);
  QSignalSpy doubleClicks(&control, &DbControl::doubleClicked);
  QSignalSpy mouseDowns(&control, &DbControl::mouseDown);
  QSignalSpy keyPresses(&control, &DbControl::keyPress);
  QSignalSpy changes(&control, &DbControl::propertyChanged);
  QTest::mouseClick(&control, Qt::LeftButton);
  QTest::mouseDClick(&control, Qt::LeftButton);
  QTest::keyClick(&control, Qt::Key_A);
  EXPECT_EQ(clicks.count() + doubleClicks.count() + mouseDowns.count() + keyPresses.count(), 0);

  control.setProperty("BorderStyle", 1);
  control.setProperty("Enabled", true);
  control.SetBorderStyle(70000);
  control.Refresh();
  ASSERT_EQ(changes.count(), 3);
  EXPECT_EQ(changes[0][0].toString(), "BorderStyle");
  EXPECT_EQ(changes[1][0].toString(), "Enabled");
  EXPECT_EQ(control.BorderStyle(), 32767);
  EXPECT_TRUE(control.Enabled());
  EXPECT_TRUE(control.isEnabled());
}

TEST_F(DbControlTest, SizeSnapsBackAfterEveryResize) {
  QWidget form;
  auto* control = new DbControl(&form);
  form.show();
  control->resize(200, 100);
  EXPECT_EQ(control->size(), QSize(32, 33));
  control->setFixedSize(120, 80);
  EXPECT_EQ(control->size(), QSize(32, 33));
  // In a layout that would stretch it.
  auto* layout = new QVBoxLayout(&form);
  layout->addWidget(control);
  form.resize(400, 300);
  QApplication::processEvents();
  EXPECT_EQ(control->size(), QSize(32, 33));
}

TEST_F(DbControlTest, PropertyBagHoldsOnlyWhatDiffersFromTheDefaults) {
  DbControl saved;
  QVariantMap bag{{"BorderStyle", 5}, {"Other", "kept"}};
  saved.SaveProperties(bag);
  EXPECT_EQ(bag, (QVariantMap{{"Other", "kept"}}));

  saved.SetEnabled(true);
  saved.SetBorderStyle(1);
  saved.SaveProperties(bag);
  DbControl loaded;
  QSignalSpy changes(&loaded, &DbControl::propertyChanged);
  loaded.LoadProperties(bag);
  EXPECT_TRUE(loaded.Enabled());
  EXPECT_EQ(loaded.BorderStyle(), 1);
  EXPECT_EQ(changes.count(), 0);

  loaded.LoadProperties(QVariantMap{{"BorderStyle", "not a number"}});
  EXPECT_FALSE(loaded.Enabled());
  EXPECT_EQ(loaded.BorderStyle(), 0);
}

TEST_F(DbControlTest, PropertyBagInASettingsGroup) {
  QTemporaryDir dir;
  const QString file = dir.filePath("form.ini");
  DbControl saved;
  saved.SetEnabled(true);
  saved.SetBorderStyle(2);
  {
    QSettings settings(file, QSettings::IniFormat);
    settings.beginGroup("DbControl1");
    saved.SaveProperties(settings);
  }
  QSettings settings(file, QSettings::IniFormat);
  settings.beginGroup("DbControl1");
  DbControl loaded;
  loaded.LoadProperties(settings);
  EXPECT_TRUE(loaded.Enabled());
  EXPECT_EQ(loaded.BorderStyle(), 2);

  saved.SetEnabled(false);
  saved.SaveProperties(settings);
  EXPECT_EQ(settings.childKeys(), QStringList{"BorderStyle"});
}

TEST_F(DbControlTest, ControlsOnTwoFormsShareOneDatabase) {
  QWidget driverForm, screenForm;
  auto* driver = new DbControl(&driverForm);
  auto* screen = new DbControl(&screenForm);

  Variant address("40001"), values = Variant::ArrayOf({Variant(int16_t{123})});
  int16_t count = 1, type = 0;
  int32_t from = 1, index = 0;
  driver->WriteToDatabase(address, values, count, from, type);
  Variant read("40001"), response;
  EXPECT_EQ(screen->ReadPLCValue(read, response, count, type, index), kTrue);
  EXPECT_EQ(response, Variant(int16_t{123}));

  Variant queued("40100"), value(int16_t{7}), taken, takenValue;
  int16_t size = 0, dataType = ioWord;
  EXPECT_EQ(screen->WriteQuePLC(queued, value, size, dataType), kTrue);
  EXPECT_EQ(driver->ReadQueData(taken, takenValue, size, dataType), kTrue);
  EXPECT_EQ(taken, Variant("40100"));
  EXPECT_EQ(takenValue, Variant(int16_t{7}));
}

TEST_F(DbControlTest, AboutBoxShowsTitleAndVersionAndClosesWithItsButton) {
  DbControl control;
  QString caption, version;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    caption = dialog->windowTitle();
    version = dialog->findChild<QLabel*>("lblVersion")->text();
    const auto buttons = dialog->findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    buttons.front()->click();
  });
  control.ShowAboutBox();
  EXPECT_EQ(caption, "About QuelDB");
  EXPECT_EQ(version, QString("Version ") + Version());
}

TEST_F(DbControlTest, EditTagNameDatabaseOpensTheEditorWithoutWaiting) {
  CreateTagDatabase();
  QWidget form;
  auto* control = new DbControl(&form);
  control->EditTagNameDatabase();
  QWidget* editor = nullptr;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->windowTitle() == "Tag Database Edit" && window->isVisible()) editor = window;
  }
  ASSERT_NE(editor, nullptr);
  EXPECT_FALSE(editor->isModal());
  editor_ = editor;
}

}  // namespace
}  // namespace queldb::testing
