#include <gtest/gtest.h>

#include "saw/shell/machine_parameters.h"
#include "saw/shell/orl_settings.h"
#include "workstation_fixture.h"

namespace orl {
namespace {

using testing::WorkstationFixture;

TEST_F(WorkstationFixture, ParameterGridsSaveAllValuesOnLosingFocus) {
  Start(StandardSettings());
  ws->Activate();
  ws->MacParCellEdited(kSawKerfRow, 1, "4");
  ws->MacParLostFocus();
  EXPECT_EQ(ws->settings().ReadSetting("Configuration", "SawKerf"), "4");
  EXPECT_EQ(ws->settings().ReadSetting("Configuration", "HeadCut"), "10");
  ws->PthParCellEdited(kPrintPathRow, 1, "/tmp/labels");
  ws->PthParLostFocus();
  EXPECT_EQ(ws->settings().ReadSetting("System", "PrintPath"), "/tmp/labels");
}

TEST_F(WorkstationFixture, BrowseRules) {
  Start(StandardSettings());
  ws->Activate();
  const std::string jobs = ws->PthPar().Text(kJobsRow, 1);
  ui.directoryAnswers = {folder.Folder() + "media/usb/JOBS", ""};  // removable media is never stored
  ws->PthParButtonClicked(kJobsRow, kBrowseColumn);
  EXPECT_TRUE(ws->SkipNextActivate());
  EXPECT_EQ(ui.pumps, 1);
  ws->PthParButtonClicked(kJobsRow, kBrowseColumn);
  EXPECT_EQ(ws->PthPar().Text(kJobsRow, 1), jobs);
  EXPECT_EQ(ui.directoryChooserStarts.back(), jobs);

  const std::string other = folder.Folder() + "Other";
  std::filesystem::create_directories(other);
  folder.Write("Other/prog", "");
  ui.directoryAnswers = {other};
  ws->PthParCellMoved(kProgramsRow, kBrowseColumn);
  ws->PthParKeyPress(13);
  EXPECT_EQ(ws->PthPar().Text(kProgramsRow, 1), other);
  EXPECT_EQ(ws->settings().ReadSetting("System", "ProgramPath"), other);  // kept as the chooser closes
  EXPECT_EQ(ws->File1().entries, std::vector<std::string>{"prog"});

  ws->PthParCellMoved(kProgramsRow, kPathColumn);
  ws->PthParKeyPress(13);  // Enter in the path column does nothing
  ws->PthParKeyPress(65);
  EXPECT_TRUE(ui.directoryAnswers.empty());
}

TEST_F(WorkstationFixture, ColumnModeBoxesStoreTheirState) {
  Start(StandardSettings());
  ws->Activate();
  ws->GrvMouseDown();
  EXPECT_EQ(ws->settings().ReadSetting("Configuration", "GrooveColumns"), "1");
  ws->GrvClicked();
  EXPECT_FALSE(ws->cutList().grid.ColumnHidden(3));
  ws->StrokeClicked();
  EXPECT_EQ(ws->settings().ReadSetting("Configuration", "StrokeColumns"), "1");
  EXPECT_FALSE(ws->cutList().grid.RowHidden(2));
  ws->RmdrClicked();
  ws->RmdrClicked();
  EXPECT_EQ(ws->settings().ReadSetting("Configuration", "RemainderColumns"), "0");
  EXPECT_TRUE(ws->cutList().grid.ColumnHidden(5));
}

// A cleared list keeps its unit and starts at group one.
TEST_F(WorkstationFixture, ClearAsksFirst) {
  Start(StandardSettings());
  ws->Activate();
  ws->DescChanged("Job");
  ws->UnitsClicked(kInch);
  ws->CutListCellEdited(4, 1, "500");
  ws->CutListCellMoved(4, 8);
  ws->CutListSelectionChanged(7, 18);
  ui.yesNoAnswers = {false, true};
  ws->ClearClicked();
  EXPECT_EQ(ws->cutList().grid.Text(4, 1), "500");
  ws->ClearClicked();
  EXPECT_EQ(ws->cutList().grid.Text(4, 1), "");
  EXPECT_EQ(ws->cutList().grid.Text(1, 1), "");
  EXPECT_EQ(ws->cutList().grid.Text(kDescRow, kUnitFlagColumn), "False");  // saved and loaded as inch
  EXPECT_FALSE(ws->cutList().grid.HasBlockSelection());
  EXPECT_EQ(ws->cutList().grid.SelectionFirstColumn(), 1);
  EXPECT_EQ(ws->cutList().Desc, "");
  EXPECT_FALSE(ws->optimizerView().BtnLdPatEnabled);
  EXPECT_EQ(ui.boxes.back().text, kClearQuestion);
  EXPECT_EQ(ui.boxes.back().title, "Alert!");
}

TEST_F(WorkstationFixture, TypedCellsAreRefusedWhileProgrammingIsDisabled) {
  Start(StandardSettings());
  ws->Activate();
  ws->SetProgrammingDisabled(true);
  EXPECT_FALSE(ws->CutListCellEdited(4, 1, "500"));
  EXPECT_EQ(ws->cutList().grid.Text(4, 1), "");
}

TEST_F(WorkstationFixture, UnitChangeWritesTheFlagAndKeepsLengths) {
  Start(StandardSettings("DecimalPlacesInch=3"));
  ws->Activate();
  ws->CutListCellEdited(4, 1, "500");
  ws->UnitsClicked(kInch);
  EXPECT_EQ(ws->cutList().grid.Text(1, 2), "False");
  EXPECT_EQ(ws->cutList().grid.Format(4, 1).decimals, 3);
  EXPECT_EQ(ws->cutList().grid.Text(4, 1), "500");
}

TEST_F(WorkstationFixture, SavedProgramLoadsBackByAClick) {
  Start(StandardSettings());
  ws->Activate();
  ws->DescChanged("Shelves");
  ws->CutListCellEdited(3, 1, "1319.6");
  ws->CutListCellEdited(4, 1, "500");
  ui.saveAnswers = {std::string("shelves")};
  ASSERT_TRUE(ws->SaveClicked());
  ui.yesNoAnswers = {true};
  ws->ClearClicked();
  ASSERT_TRUE(ws->ProgramClicked("shelves"));
  EXPECT_EQ(ws->cutList().Desc, "Shelves");
  EXPECT_EQ(ws->cutList().grid.Text(4, 2), "1");
  EXPECT_EQ(ws->cutList().grid.Text(3, 1), "513.2");
}

TEST_F(WorkstationFixture, JobFolderEntriesOpenASubfolderOrTheFolderAbove) {
  Start(StandardSettings());
  ws->Activate();
  folder.Write("Jobs/kitchen/cuts.csv", "");
  ws->Dir1Changed(folder.Folder() + "Jobs");
  ws->Dir1EntryOpened("kitchen");
  EXPECT_EQ(ws->jobs().Dir1, folder.Folder() + "Jobs/kitchen");
  ws->Dir1EntryOpened("..");
  ws->Dir1EntryOpened("..");
  EXPECT_EQ(ws->jobs().Dir1 + "/", folder.Folder());
}

TEST_F(WorkstationFixture, ProgramNamedAtStartUpOpensFromItsOwnFolder) {
  folder.Write("elsewhere/job", "Named,False\r\n");
  Start(StandardSettings());
  ws->Activate();
  EXPECT_TRUE(ws->OpenProgram(folder.Path() / "elsewhere" / "job"));
  EXPECT_EQ(ws->cutList().DispFName, "job");
  EXPECT_EQ(ws->cutList().Desc, "Named");
  EXPECT_EQ(ws->cutList().Units, kInch);
  EXPECT_EQ(ws->File1().entries, std::vector<std::string>{"job"});
  EXPECT_FALSE(ws->OpenProgram(folder.Path() / "missing" / "job"));
}

}  // namespace
}  // namespace orl
