#include "saw/ui/qt_ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "fakes/temp_folder.h"
#include "ui/modal_dialog.h"

namespace orl {
namespace {

using testing::AnswerNextModal;
using testing::TempFolder;

struct SeenBox {
  QString text;
  QString title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
};

// Records the next message box and answers it with the given button.
void AnswerBox(SeenBox& seen, QMessageBox::StandardButton answer) {
  AnswerNextModal<QMessageBox>([&seen, answer](QMessageBox* box) {
    seen = {box->text(), box->windowTitle(), box->icon(), box->standardButtons()};
    box->button(answer)->click();
  });
}

TEST(QtUiBoxes, TheAlertBoxIsAWarningWithOneOkButton) {
  QtUi ui;
  SeenBox seen;
  AnswerBox(seen, QMessageBox::Ok);
  ui.ShowMessage("Disk not available", MessageIcon::Exclamation, "Alert!");
  EXPECT_EQ(seen.text, "Disk not available");
  EXPECT_EQ(seen.title, "Alert!");
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
  EXPECT_EQ(seen.buttons, QMessageBox::Ok);
}

TEST(QtUiBoxes, QuestionsAreYesNoBoxes) {
  QtUi ui;
  for (const auto answer : {QMessageBox::Yes, QMessageBox::No}) {
    SeenBox seen;
    AnswerBox(seen, answer);
    EXPECT_EQ(ui.AskYesNo("Clear the list?", "Alert!"), answer == QMessageBox::Yes);
    EXPECT_EQ(seen.title, "Alert!");
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
  }
}

TEST(QtUiDialogs, TheSaveDialogOpensOnTheProposedFileAndReturnsTheChosenOne) {
  TempFolder programs;
  QtUi ui;
  AnswerNextModal<QFileDialog>([&](QFileDialog* dialog) {
    EXPECT_EQ(dialog->directory().absolutePath().toStdString(), programs.Path().string());
    EXPECT_EQ(dialog->nameFilters(), QStringList{"All files (*)"});
    EXPECT_EQ(dialog->selectedFiles(), QStringList{QString::fromStdString(programs.File("kitchen"))});
    static_cast<QDialog*>(dialog)->accept();  // as the Save button does
  });
  EXPECT_EQ(ui.AskSaveFileName(programs.File("kitchen"), "All files (*.*)|*.*"), programs.File("kitchen"));

  AnswerNextModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
  EXPECT_EQ(ui.AskSaveFileName(programs.Folder() + "*.*", "All files (*.*)|*.*"), std::nullopt);
}

TEST(QtUiCursor, TheBusyCursorIsBalanced) {
  {
    QtUi ui;
    ui.SetBusyCursor(true);
    ui.SetBusyCursor(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.SetBusyCursor(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ui.SetBusyCursor(false);
    ui.SetBusyCursor(true);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "a busy cursor left when the Ui goes";
}

}  // namespace
}  // namespace orl
