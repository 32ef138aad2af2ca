#include "saw/ui/about_box.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <filesystem>

#include "fakes/fake_ui.h"
#include "fakes/temp_folder.h"
#include "ui/modal_dialog.h"

namespace orl {
namespace {

using testing::AnswerNextModal;
using testing::FakeUi;
using testing::RecordedBox;
using testing::TempFolder;

QString LabelText(QWidget* box, const char* name) {
  auto* label = box->findChild<QLabel*>(QString::fromUtf8(name));
  return label ? label->text() : QStringLiteral("<no %1>").arg(QString::fromUtf8(name));
}

QPushButton* Button(QWidget* box, const char* name) { return box->findChild<QPushButton*>(QString::fromUtf8(name)); }

// The search path set to one folder for the life of the test.
class SearchPath {
 public:
  explicit SearchPath(const std::filesystem::path& folder) : saved_(qgetenv("PATH")) {
    qputenv("PATH", QByteArray::fromStdString(folder.string()));
  }
  ~SearchPath() { qputenv("PATH", saved_); }

 private:
  QByteArray saved_;
};

TEST(AboutBoxDialog, ShowsTheVersionAndReturnCloses) {
  FakeUi ui;
  AboutBox about(ui);
  AnswerNextModal<AboutBox>([](AboutBox* box) {
    EXPECT_TRUE(QRegularExpression("^Version \\d+\\.\\d+\\.\\d+$").match(LabelText(box, "lblVersion")).hasMatch())
        << LabelText(box, "lblVersion").toStdString();
    QTest::keyClick(box, Qt::Key_Return);
  });
  EXPECT_EQ(about.exec(), QDialog::Accepted);
  EXPECT_TRUE(ui.boxes.empty());
}

TEST(AboutBoxDialog, WithoutASystemInformationProgramOnThePathSaysItIsUnavailable) {
  TempFolder emptyPath;
  SearchPath path(emptyPath.Path());
  FakeUi ui;
  AboutBox about(ui);
  AnswerNextModal<AboutBox>([&](AboutBox* box) {
    QTest::keyClick(box, Qt::Key_S, Qt::AltModifier);
    // An access key clicks after a short animation.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !ui.boxes.empty(); }));
    EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{kSystemInfoUnavailable, MessageIcon::None, "ORL"}}));
    EXPECT_TRUE(box->isVisible()) << "the box stays open after the message";
    box->accept();
  });
  about.exec();
}

TEST(AboutBoxDialog, StartsTheFirstSystemInformationProgramOnThePath) {
  TempFolder bin;
  const std::string started = bin.File("started");
  for (const char* name : {"kinfocenter", "gnome-system-monitor"}) {
    const std::string script = bin.Write(name, std::string("#!/bin/sh\necho ") + name + " > '" + started + "'\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  }
  SearchPath path(bin.Path());
  FakeUi ui;
  AboutBox about(ui);
  QTest::mouseClick(Button(&about, "cmdSysInfo"), Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return bin.Read("started") == "kinfocenter\n"; }, 5000)) << bin.Read("started");
  EXPECT_TRUE(ui.boxes.empty());
}

}  // namespace
}  // namespace orl
