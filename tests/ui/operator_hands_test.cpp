// The window as the operator's hands use it: clicks and keys on the real
// widgets, then what reaches the saw, the settings file or a cut program.
#include <QDialog>
#include <QRadioButton>
#include <QTimer>

#include "window_fixture.h"

namespace orl {
namespace {

using testing::Click;
using testing::ClickCell;
using testing::ClickItem;
using testing::Cursor;
using testing::DoubleClickCell;
using testing::PressKey;
using testing::RecordedBox;
using testing::TypeKeys;
using testing::WaitFor;
using testing::WindowFixture;

constexpr const char* kClearQuestionText = "This will clear all programmed cuts. Continue?";

struct OperatorHands : WindowFixture {
  GridView* cuts() { return window->programTab->CutListGrid; }
  const std::string& Cell(int row, int column) { return ws->cutList().grid.Text(row, column); }

  // A scan tick's rendering, as the scan timer gives it between key presses.
  void Tick() {
    window->Render();
    QCoreApplication::processEvents();
  }

  // Every target of one whole run of the simulated saw, in order.
  std::vector<std::int32_t> CutOneRun() {
    std::vector<std::int32_t> targets;
    bool ended = false;
    std::uint64_t seen = ws->plc().HandOvers;
    const auto recording = QObject::connect(&window->scan, &ScanDriver::stateChanged, window.get(), [&] {
      if (ended || ws->plc().HandOvers == seen || ws->plc().LastHandOver.Manual) return;
      seen = ws->plc().HandOvers;
      targets.push_back(ws->plc().LastHandOver.entry.Target);
      ended = ws->plc().LastHandOver.LastCut;
    });
    StartScanning();
    EXPECT_TRUE(WaitFor([&] { return ended; }, 20000));
    window->scan.StopScan();
    QObject::disconnect(recording);
    return targets;
  }

  void Answer(bool yes) {
    ui.yesNoAnswers.push_back(yes);
    expectedBoxes.push_back({kClearQuestionText, MessageIcon::Question, "Alert!"});
  }
};

TEST_F(OperatorHands, TypedCutsLandWhereTheCursorIsAndReachTheSawAsTyped) {
  Start();
  ClickCell(cuts(), 4, 1);
  for (const char* length : {"250", "150", "12,5"}) {
    TypeKeys(length);
    PressKey(Qt::Key_Return);
    Tick();
  }
  TypeKeys("8x");  // the letter is refused as it is typed
  PressKey(Qt::Key_Return);
  EXPECT_EQ(Cell(4, 1), "250");
  EXPECT_EQ(Cell(5, 1), "150");
  EXPECT_EQ(Cell(6, 1), "12.5");
  EXPECT_EQ(Cell(7, 1), "8");
  for (int row = 4; row <= 7; ++row) EXPECT_EQ(Cell(row, 2), "1") << row;
  EXPECT_EQ(Cursor(cuts()), std::make_pair(8, 1));
  EXPECT_EQ(cuts()->Model()->data(cuts()->Model()->IndexOf(4, 1), Qt::DisplayRole).toString(), "250.0");
  // Absolute targets: the board (its total 443.3 and a kerf), then what is
  // left of it as each piece with its kerf is taken off.
  EXPECT_EQ(CutOneRun(), (std::vector<std::int32_t>{4465, 1933, 401, 244, 132}));
}

TEST_F(OperatorHands, ClickedMachineParameterIsTheOneTypingEdits) {
  Start();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  window->SSTab1->setCurrentIndex(kParametersTab);
  GridView* macPar = window->parametersTab->MacPar;
  ClickCell(macPar, kClampLengthRow, 1);
  Tick();
  TypeKeys("777");
  PressKey(Qt::Key_Return);
  Tick();
  ClickCell(window->parametersTab->PthPar, kJobsRow, 1);  // leaving the grid saves it
  const ProfileFile settings(folder.Path() / "ORL.INI");
  EXPECT_EQ(settings.ReadSetting("Configuration", "ClampLength"), "777");
  EXPECT_EQ(settings.ReadSetting("Configuration", "TemplateLength"), "500");
}

TEST_F(OperatorHands, QuantitiesChangeOnlyWhenTheOperatorChangesThem) {
  Start();
  folder.Write("Programs/many", "Many,True\r\n\r\n\r\n100,150\r\n");
  ws->HousekeepingTick();
  window->Render();
  ClickItem(window->programTab->File1, "many");
  DoubleClickCell(cuts(), 4, 2);  // opened and left as it was
  PressKey(Qt::Key_Return);
  EXPECT_EQ(Cell(4, 2), "150");
  DoubleClickCell(cuts(), 5, 2);  // an empty quantity opened and left
  PressKey(Qt::Key_Return);
  EXPECT_EQ(Cell(5, 2), "");
  ClickCell(cuts(), 5, 1);
  TypeKeys("200");
  PressKey(Qt::Key_Return);
  EXPECT_EQ(Cell(5, 2), "1");  // a typed length still gets its quantity
  ClickCell(cuts(), 5, 2);
  TypeKeys("320");
  PressKey(Qt::Key_Return);
  EXPECT_EQ(Cell(5, 2), "320");
}

TEST_F(OperatorHands, ABlockOfGroupsDoesNotOutliveItsProgram) {
  Start();
  ClickItem(window->programTab->File1, "kitchen-groups");
  ClickCell(cuts(), 4, PositionColumnOfGroup(2));
  ClickCell(cuts(), 4, PositionColumnOfGroup(3) + 1, Qt::ShiftModifier);
  ASSERT_TRUE(ws->cutList().grid.HasBlockSelection());
  ClickItem(window->programTab->File1, "metric-example");  // one group only
  EXPECT_TRUE(cuts()->selectionModel()->selectedIndexes().size() <= 1);
  EXPECT_EQ(CutOneRun(), (std::vector<std::int32_t>{13228, 8196, 3164, 132}));
}

TEST_F(OperatorHands, TheUnitShownIsTheUnitSaved) {
  Start();
  QRadioButton* inch = window->programTab->Units[kInch];
  QTest::mouseClick(inch, Qt::LeftButton, {}, QPoint(8, inch->height() / 2));  // on its round button
  Answer(true);
  Click(window->programTab->ClrLst);
  ClickCell(cuts(), 4, 1);
  TypeKeys("20");
  PressKey(Qt::Key_Return);
  ui.saveAnswers.push_back(folder.File("Programs/twenty-inch"));
  Click(window->programTab->SaveBtn);
  const std::string saved = folder.Read("Programs/twenty-inch");
  EXPECT_EQ(saved.substr(0, saved.find('\r')), ",False");
  ClickItem(window->programTab->File1, "metric-example");
  ClickItem(window->programTab->File1, "twenty-inch");
  EXPECT_TRUE(window->programTab->Units[kInch]->isChecked());
}

TEST_F(OperatorHands, LoadAfterADialogRoundTripLoadsNothingAndAsksNothing) {
  Start();
  ClickItem(window->programTab->File1, "metric-example");
  window->SSTab1->setCurrentIndex(kImportTab);
  ImportTab& import = *window->importTab;
  ClickItem(import.File2, "CPOUT.001");
  ASSERT_GT(import.Pat->count(), 0);
  QDialog dialog(window.get());  // the directory chooser, say
  QTimer::singleShot(20, &dialog, &QDialog::accept);
  dialog.exec();
  ASSERT_TRUE(WaitFor([&] { return import.Pat->count() == 0; }));
  EXPECT_EQ(import.File2->currentRow(), -1);
  Click(import.ImpLoad);  // no question, and the list keeps its program
  EXPECT_EQ(Cell(4, 1), "500");
}

TEST_F(OperatorHands, GroupAndShowLoadedPatternFollowTheCut) {
  Start();
  window->SSTab1->setCurrentIndex(kImportTab);
  ImportTab& import = *window->importTab;
  ClickItem(import.File2, "CPOUT.001");
  Answer(true);
  Click(import.ImpLoad);
  ClickItem(import.File2, "doors.csv");
  window->SSTab1->setCurrentIndex(kProgramControlTab);
  StartScanning();
  ASSERT_TRUE(WaitFor([&] { return ws->plc().LastHandOver.entry.CellCol > ColsPerGroup; }, 20000));
  window->scan.StopScan();
  const QString group = QString::number(GroupOfColumn(ws->plc().LastHandOver.entry.CellCol));
  EXPECT_EQ(window->programTab->CNum->text(), group);
  window->SSTab1->setCurrentIndex(kImportTab);
  Click(import.BtnLdPat);
  ASSERT_NE(import.File2->currentItem(), nullptr);
  EXPECT_EQ(import.File2->currentItem()->text(), "CPOUT.001");
  if (group.toInt() <= ws->optimizerView().VScrollPH.Min) EXPECT_EQ(import.TextShowPh->text(), group);
}

TEST_F(OperatorHands, ARefusedProgramIsNamedAndOddFileNamesStillOpen) {
  Start();
  folder.Write("Programs/garbage", std::string("\0\x01\x02", 3));
  folder.Write("Programs/caf\xE9", "Latin-1 name,True\r\n\r\n\r\n640,2\r\n");
  ws->HousekeepingTick();
  window->Render();
  QListWidget* programs = window->programTab->File1;
  ClickItem(programs, "metric-example");
  expectedBoxes.push_back(
      {"garbage is not a cut program, or it cannot be read. The cut list is unchanged.", MessageIcon::Exclamation, "Alert!"});
  ClickItem(programs, "garbage");
  ASSERT_NE(programs->currentItem(), nullptr);
  EXPECT_EQ(programs->currentItem()->text(), "metric-example");
  const int odd = static_cast<int>(std::find(ws->File1().entries.begin(), ws->File1().entries.end(), "caf\xE9") -
                                   ws->File1().entries.begin());
  QTest::mouseClick(programs->viewport(), Qt::LeftButton, {}, programs->visualItemRect(programs->item(odd)).center());
  EXPECT_EQ(Cell(4, 1), "640");
}

}  // namespace
}  // namespace orl
