#include "saw/ui/directory_chooser.h"

#include <gtest/gtest.h>

#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <filesystem>

#include "fakes/temp_folder.h"
#include "ui/modal_dialog.h"

namespace orl {
namespace {

using testing::AnswerNextModal;
using testing::TempFolder;

template <typename Widget>
Widget* Child(QWidget* dialog, const char* name) {
  auto* child = dialog->findChild<Widget*>(QString::fromUtf8(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

QString Canonical(const std::filesystem::path& folder) {
  return QString::fromStdString(std::filesystem::canonical(folder).string());
}

// "New Folder", the name typed, then Enter in the name box.
void TypeNewFolder(DirectoryChooser* chooser, const QString& name) {
  auto* nameBox = Child<QLineEdit>(chooser, "NFldr");
  EXPECT_FALSE(nameBox->isVisible());
  QTest::mouseClick(Child<QPushButton>(chooser, "NFldrBtn"), Qt::LeftButton);
  EXPECT_TRUE(nameBox->isVisible());
  EXPECT_TRUE(Child<QPushButton>(chooser, "NfldrApBtn")->isVisible());
  EXPECT_TRUE(nameBox->hasFocus());
  QTest::keyClicks(nameBox, name);
  QTest::keyClick(nameBox, Qt::Key_Return);
  EXPECT_FALSE(nameBox->isVisible());
  EXPECT_FALSE(Child<QPushButton>(chooser, "NfldrApBtn")->isVisible());
  EXPECT_TRUE(chooser->isVisible()) << "Enter in the name box must not close the chooser";
}

TEST(DirectoryChooserDialog, ANewFolderIsMadeInTheSelectedOneAndOkReturnsTheSelection) {
  TempFolder jobs;
  const QString start = Canonical(jobs.Path());
  QString treeShowedNewFolder;
  AnswerNextModal<DirectoryChooser>([&](DirectoryChooser* chooser) {
    EXPECT_EQ(chooser->windowTitle(), "Select Directory Path");
    EXPECT_EQ(chooser->SelectedFolder(), start);
    TypeNewFolder(chooser, " Week 13 ");
    TypeNewFolder(chooser, "");  // creates nothing, only hides the box again
    auto* tree = Child<QTreeView>(chooser, "Dir1");
    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    const QModelIndex created = model->index(start + "/Week 13");
    EXPECT_TRUE(tree->isExpanded(created.parent()));
    treeShowedNewFolder = model->filePath(created);
    // Enter outside the name box is "OK": the selected folder, not the new one.
    QTest::keyClick(tree, Qt::Key_Return);
  });
  EXPECT_EQ(DirectoryChooser::Choose(start), start);
  EXPECT_EQ(treeShowedNewFolder, start + "/Week 13");
  EXPECT_TRUE(std::filesystem::is_directory(jobs.Path() / "Week 13"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(jobs.Path()), {}), 1);
}

TEST(DirectoryChooserDialog, TheFolderPickedInTheTreeIsReturnedAndCancelReturnsNothing) {
  TempFolder jobs;
  std::filesystem::create_directories(jobs.Path() / ".orl" / "Doors");
  const QString start = Canonical(jobs.Path());
  const QString hidden = start + "/.orl";
  AnswerNextModal<DirectoryChooser>([&](DirectoryChooser* chooser) {
    auto* tree = Child<QTreeView>(chooser, "Dir1");
    const QModelIndex doors = qobject_cast<QFileSystemModel*>(tree->model())->index(hidden + "/Doors");
    EXPECT_TRUE(tree->currentIndex().isValid()) << "a start inside a hidden folder is shown";
    tree->setCurrentIndex(doors);
    QTest::mouseClick(Child<QPushButton>(chooser, "OKButton"), Qt::LeftButton);
  });
  EXPECT_EQ(DirectoryChooser::Choose(hidden + "/"), hidden + "/Doors");

  AnswerNextModal<DirectoryChooser>([&](DirectoryChooser* chooser) {
    TypeNewFolder(chooser, "Kept");
    QTest::mouseClick(Child<QPushButton>(chooser, "CancelButton"), Qt::LeftButton);
  });
  EXPECT_EQ(DirectoryChooser::Choose(start), QString());
  EXPECT_TRUE(std::filesystem::is_directory(jobs.Path() / "Kept"));
}

TEST(DirectoryChooserDialog, TheStartFolderIsShownInViewAmongManySiblings) {
  TempFolder jobs;
  for (int week = 10; week < 70; ++week) std::filesystem::create_directory(jobs.Path() / ("Week " + std::to_string(week)));
  const QString start = Canonical(jobs.Path()) + "/Week 55";
  DirectoryChooser chooser(start);
  chooser.show();
  EXPECT_TRUE(chooser.WaitForStartFolder(5000));
  auto* tree = Child<QTreeView>(&chooser, "Dir1");
  EXPECT_EQ(chooser.SelectedFolder(), start);
  const QRect shown = tree->visualRect(tree->currentIndex());
  EXPECT_TRUE(shown.top() >= 0 && shown.bottom() < tree->viewport()->height())
      << "the start folder is out of view: rows " << shown.top() << " to " << shown.bottom();
}

}  // namespace
}  // namespace orl
