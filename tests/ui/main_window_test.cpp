// The real window driven through its widgets, against the simulated saw PLC.
#include <QDialog>
#include <QHeaderView>
#include <QTimer>
#include <QSignalSpy>

#include "saw/cutlist/cut_program_files.h"
#include "window_fixture.h"

namespace orl {
namespace {

using testing::Click;
using testing::ClickCell;
using testing::ClickItem;
using testing::Item;
using testing::RecordedBox;
using testing::WaitFor;
using testing::WindowFixture;

constexpr const char* kClearQuestionText = "This will clear all programmed cuts. Continue?";

TEST_F(WindowFixture, StartUpShowsWhatTheSettingsAskFor) {
  Start();
  ProgramTab& program = *window->programTab;
  EXPECT_TRUE(program.Grv->isVisible());
  EXPECT_TRUE(program.Rmdr->isVisible());
  EXPECT_TRUE(program.Rmdr->isChecked());  // RemainderColumns=1
  EXPECT_FALSE(program.CutListGrid->isColumnHidden(4));  // the first group's Rmdr column
  EXPECT_TRUE(program.CutListGrid->isColumnHidden(2));   // its Groove column: GrooveColumns=0
  EXPECT_TRUE(window->ManFrame->isVisible());
  EXPECT_TRUE(window->ManGrv->isVisible());
  EXPECT_FALSE(window->diagnosticsTab->FrameCommLog->isHidden());
  EXPECT_EQ(program.File1->count(), static_cast<int>(ws->File1().entries.size()));
  EXPECT_GT(program.File1->count(), 0);
}

TEST_F(WindowFixture, OptionalControlsStayHiddenWhenTheSettingsSaySo) {
  Start({{"Grooving", "0"}, {"Stroke", "0"}, {"Remainder", "0"}, {"Manual", "0"}, {"MaxLogLen", "0"}});
  EXPECT_FALSE(window->programTab->Grv->isVisible());
  EXPECT_FALSE(window->programTab->Stroke->isVisible());
  EXPECT_FALSE(window->programTab->Rmdr->isVisible());
  EXPECT_FALSE(window->ManFrame->isVisible());
  EXPECT_TRUE(window->diagnosticsTab->FrameCommLog->isHidden());
}

TEST_F(WindowFixture, TypedCutsShowTheirTotalAtOnce) {
  Start();
  GridView* cuts = window->programTab->CutListGrid;
  TypeIntoCell(cuts, 4, 1, "500");
  EXPECT_EQ(CellText(cuts, 4, 2), "1");
  EXPECT_EQ(CellText(cuts, 3, 1).toDouble(), 513.2);  // 500 + kerf 3.2 + rear trim 10
  TypeIntoCell(cuts, 4, 2, "2");  // the quantity's spin box
  EXPECT_EQ(CellText(cuts, 3, 1).toDouble(), 1016.4);
  EXPECT_EQ(window->programTab->CNum->text(), "1");
}

// A clicked program is loaded and saved under a new name; with the Programs
// folder renamed while the window shows it, "Save" warns with the system's
// reason and the bold name stays that of the loaded program.
TEST_F(WindowFixture, ProgramClickAndSaveAndAFailedSaveSaysWhy) {
  Start();
  ProgramTab& program = *window->programTab;
  ClickItem(program.File1, "metric-example");
  EXPECT_EQ(program.DispFName->text(), "metric-example");
  EXPECT_FALSE(CellText(program.CutListGrid, 4, 1).isEmpty());
  EXPECT_EQ(program.Desc->toPlainText().toStdString(), ws->cutList().Desc);

  ui.saveAnswers.push_back(folder.File("Programs/copy-of-example"));
  Click(program.SaveBtn);
  EXPECT_TRUE(std::filesystem::exists(folder.Path() / "Programs" / "copy-of-example"));
  EXPECT_NE(Item(program.File1, "copy-of-example"), nullptr);
  EXPECT_EQ(program.DispFName->text(), "copy-of-example");

  std::filesystem::rename(folder.Path() / "Programs", folder.Path() / "Programs.moved");
  ui.saveAnswers.push_back(folder.File("Programs/renamed-away"));
  Click(program.SaveBtn);
  const std::string target = CutProgramFolder(ws->File1()) + "renamed-away";
  expectedBoxes = {{"cannot write " + target + ": no such file or directory", MessageIcon::Exclamation, "Alert!"}};
  EXPECT_EQ(program.DispFName->text(), "copy-of-example");
}

// A typed parameter reaches the settings file when the grid loses focus; a
// folder chosen with "Browse..." at once, before the operator leaves the grid.
TEST_F(WindowFixture, ParametersAndChosenFoldersReachTheSettingsFile) {
  Start();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  window->SSTab1->setCurrentIndex(kParametersTab);
  GridView* macPar = window->parametersTab->MacPar;
  GridView* paths = window->parametersTab->PthPar;
  TypeIntoCell(macPar, 1, 1, "4.5");
  const ProfileFile settings(folder.Path() / "ORL.INI");
  EXPECT_EQ(settings.ReadSetting("Configuration", "SawKerf"), "3.2");  // not yet
  paths->setFocus();
  EXPECT_EQ(settings.ReadSetting("Configuration", "SawKerf"), "4.5");

  std::filesystem::create_directories(folder.Path() / "ardis-data");
  ui.directoryAnswers = {folder.File("ardis-data"), ""};
  ClickCell(paths, kArdisDataRow, kBrowseColumn);
  EXPECT_EQ(CellText(paths, kArdisDataRow, 1).toStdString(), folder.File("ardis-data"));
  EXPECT_EQ(settings.ReadSetting("System", "ArdisPath"), folder.File("ardis-data"));
  EXPECT_EQ(ui.directoryChooserStarts, std::vector<std::string>{"Jobs"});
  // Enter on a button cell opens the chooser too; cancelling changes nothing.
  paths->setFocus();
  paths->setCurrentIndex(paths->Model()->IndexOf(kPrintPathRow, kBrowseColumn));
  QTest::keyClick(paths, Qt::Key_Return);
  EXPECT_EQ(ui.directoryChooserStarts.size(), 2u);
  EXPECT_EQ(CellText(paths, kPrintPathRow, 1), "labels.txt");
}

TEST_F(WindowFixture, OptimizerFileReadPatternShownAndLoaded) {
  Start();
  folder.Write("Jobs/empty.PTX", "");
  window->SSTab1->setCurrentIndex(kImportTab);
  ws->Dir1Changed(ws->jobs().Dir1);  // the new file appears, as the housekeeping tick would show it
  window->Render();
  ImportTab& import = *window->importTab;
  ClickItem(import.File2, "empty.PTX");
  ASSERT_GT(import.Warnings->count(), 0);
  EXPECT_EQ(import.Warnings->item(import.Warnings->count() - 1)->text(),
            "empty.PTX: no cut could be read from this file; it holds nothing to load.");

  ClickItem(import.File2, "CPOUT.001");
  EXPECT_EQ(import.Warnings->count(), 0);
  ASSERT_GT(import.Pat->count(), 1);
  EXPECT_EQ(import.Pat->currentRow(), 0);
  ClickItem(import.Pat, import.Pat->item(1)->text());
  EXPECT_EQ(ws->optimizer().Pat.ListIndex, 1);
  EXPECT_GT(import.Parts->count(), 0);
  EXPECT_FALSE(import.ImpLab2->text().isEmpty());
  EXPECT_TRUE(import.LBLShowPh->text().startsWith("Cut Sequence"));
  EXPECT_FALSE(import.BtnLdPat->isEnabled());

  ui.yesNoAnswers = {true};
  expectedBoxes = {{kClearQuestionText, MessageIcon::Question, "Alert!"}};
  Click(import.ImpLoad);
  EXPECT_TRUE(window->programTab->Desc->toPlainText().startsWith("Pattern Number: "));
  EXPECT_FALSE(CellText(window->programTab->CutListGrid, 4, 1).isEmpty());
  EXPECT_TRUE(import.BtnLdPat->isEnabled());
}

TEST_F(WindowFixture, QuietRenderRepaintsNothingAndAHighlightOnlyItsCells) {
  Start();
  ClickItem(window->programTab->File1, "metric-example");
  GridModel* model = window->programTab->CutListGrid->Model();
  QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
  window->Render();
  EXPECT_EQ(changed.count(), 0);
  ws->HiLite(4, 1);
  window->Render();
  ws->HiLite(5, 1);
  window->Render();
  ASSERT_EQ(changed.count(), 3);  // (4,1) on, then (4,1) off and (5,1) on
  EXPECT_EQ(model->data(model->IndexOf(5, 1), Qt::BackgroundRole).value<QColor>(), QColor(0xFF, 0x80, 0x80));
}

TEST_F(WindowFixture, WholeSawCycleOnScreen) {
  Start();
  ClickItem(window->programTab->File1, "metric-example");
  GridView& cutList = *window->programTab->CutListGrid;
  std::vector<std::pair<int, int>> highlighted;  // cells in the order they were cut
  bool cursorStayed = true;
  std::uint64_t handOvers = ws->plc().HandOvers;
  bool labelsFollow = true;
  QObject::connect(&window->scan, &ScanDriver::stateChanged, window.get(), [&] {
    labelsFollow = labelsFollow && window->POS->text().toStdString() == ws->plc().POS &&
                   window->Target->text().toStdString() == ws->plc().Target;
    if (ws->plc().HandOvers == handOvers) return;
    handOvers = ws->plc().HandOvers;
    if (ws->plc().LastHandOver.Manual) return;
    // "Group:" names the group being cut; the operator's cursor stays.
    const int row = ws->plc().LastHandOver.entry.CellRow, column = ws->plc().LastHandOver.entry.CellCol;
    if (window->programTab->CNum->text() == QString::number(GroupOfColumn(column))) highlighted.emplace_back(row, column);
    cursorStayed = cursorStayed && testing::Cursor(&cutList) == std::make_pair(1, 2 * ColsPerGroup);
  });
  // The operator's block of groups 1 and 2, chosen with the mouse, stays
  // selected while cells are cut.
  ClickCell(&cutList, 1, 1);
  ClickCell(&cutList, 1, 2 * ColsPerGroup, Qt::ShiftModifier);
  StartScanning();
  ASSERT_TRUE(WaitFor([&] { return ws->plc().LastHandOver.LastCut; }, 20000));
  EXPECT_TRUE(ws->cutList().grid.HasBlockSelection());
  std::vector<std::pair<int, int>> expected;
  for (std::size_t i = 1; i < ws->plc().positions.size(); ++i)
    expected.emplace_back(ws->plc().positions[i].CellRow, ws->plc().positions[i].CellCol);
  EXPECT_EQ(highlighted, expected);
  EXPECT_TRUE(cursorStayed);
  EXPECT_TRUE(labelsFollow);
  EXPECT_NE(window->POS->text(), "------------");
  EXPECT_FALSE(window->POS->text().isEmpty());
}

TEST_F(WindowFixture, OutputClickReachesTheSimulatedPlc) {
  Start();
  window->SSTab1->setCurrentIndex(kDiagnosticsTab);
  StartScanning();
  ASSERT_TRUE(WaitFor([&] { return !window->POS->text().isEmpty(); }));
  constexpr int kRow = 7;  // output Y6: the simulated saw never drives it
  ClickCell(window->diagnosticsTab->DigIO, kRow, kOutputsColumn);
  const auto outputWord = [&] {
    PlcWords2 words{};
    return ws->link()->ReadWords(40500, words, 1) ? words[0] : 0;
  };
  EXPECT_TRUE(WaitFor([&] { return (outputWord() & (1 << (kRow - 1))) != 0; }));
}

TEST_F(WindowFixture, ManualPositionWaitsOrangeThenTurnsDarkBlue) {
  Start();
  window->ManPos->setFocus();
  window->ManPos->lineEdit()->selectAll();
  QTest::keyClicks(window->ManPos->lineEdit(), "250");
  EXPECT_EQ(ws->plc().manual.ManPos, "250");
  Click(window->ManSnd);
  EXPECT_TRUE(window->ManPos->styleSheet().contains("ff8000"));
  StartScanning();
  EXPECT_TRUE(WaitFor([&] { return window->ManPos->styleSheet().contains("0000c0"); }));
  EXPECT_EQ(ws->plc().LastHandOver.entry.Target, 2500);
}

TEST_F(WindowFixture, ClosingADialogOfTheProgramActivatesTheWindow) {
  Start();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  window->SSTab1->setCurrentIndex(kImportTab);
  ClickItem(window->importTab->File2, "CPOUT.001");
  ASSERT_GT(ws->optimizer().PatCuts.size(), 1u);
  window->SSTab1->setCurrentIndex(kParametersTab);
  ui.directoryAnswers = {""};
  ClickCell(window->parametersTab->PthPar, kJobsRow, kBrowseColumn);  // "Browse..." left without a choice
  ASSERT_TRUE(ws->SkipNextActivate());
  ASSERT_GT(ws->optimizer().PatCuts.size(), 1u);  // nothing is let go before the window is activated again
  QDialog dialog(window.get());
  QTimer::singleShot(50, &dialog, &QDialog::accept);
  dialog.exec();
  EXPECT_TRUE(WaitFor([&] { return ws->optimizer().PatCuts.size() == 1; }));
  EXPECT_FALSE(ws->SkipNextActivate());
}

TEST_F(WindowFixture, EveryButtonCanBeReachedWithTheKeyboard) {
  Start();
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    if (!qobject_cast<QPushButton*>(button) && !qobject_cast<QCheckBox*>(button) && !qobject_cast<QRadioButton*>(button))
      continue;  // the tab bar's and grid corner's own buttons
    EXPECT_TRUE(button->focusPolicy() & Qt::TabFocus) << button->text().toStdString();
  }
  for (QPushButton* button : window->findChildren<QPushButton*>()) {
    if (!button->isVisible()) continue;
    EXPECT_TRUE(button->text().contains('&')) << button->text().toStdString();
  }
}

}  // namespace
}  // namespace orl
