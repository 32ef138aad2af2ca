#include <gtest/gtest.h>

#include "saw/shell/orl_settings.h"
#include "workstation_fixture.h"

namespace orl {
namespace {

using testing::RecordedBox;
using testing::WorkstationFixture;

TEST_F(WorkstationFixture, MissingSettingsFileGivesDefaultsAndBothPathWarnings) {
  ws = std::make_unique<Workstation>(ui, fileSystem, clock);
  ws->StartUp(folder.Path() / "ORL.INI");
  ws->Activate();
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{kPathError, MessageIcon::Exclamation, "Alert!"},
                                                {kDriveNotReady, MessageIcon::Exclamation, "Alert!"}}));
  EXPECT_FALSE(ws->cutList().Grv.visible);
  EXPECT_FALSE(ws->ManFrame().visible);
  EXPECT_FALSE(ws->FrameCommLog().visible);
  EXPECT_FALSE(ws->AbsoluteMode());
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "ORL.INI"));  // never created
}

TEST_F(WorkstationFixture, ActivationAppliesTheSettings) {
  folder.Write("Programs/job1", "");
  Start(StandardSettings(
      "Mode=absolute\nGrooving=1\nStroke=0\nRemainder=2\nManual=1\nFirstColOnly=1\nGrooveColumns=1\n"
      "StrokeColumns=7\nRemainderColumns=2\nMaxLogLen=50\nDecimalPlacesMetric=2"));
  ws->Activate();
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_TRUE(ws->AbsoluteMode());
  EXPECT_TRUE(ws->cutList().Grv.visible);
  EXPECT_TRUE(ws->ManGrv().visible);
  EXPECT_FALSE(ws->cutList().Stroke.visible);
  EXPECT_TRUE(ws->cutList().Rmdr.visible);
  EXPECT_EQ(ws->cutList().grid.Columns(), ColsPerGroup);
  EXPECT_EQ(ws->cutList().Grv.value, 1);
  EXPECT_FALSE(ws->cutList().grid.ColumnHidden(3));
  EXPECT_EQ(ws->cutList().Stroke.value, 0);  // 7 is no check box state
  EXPECT_TRUE(ws->cutList().grid.RowHidden(2));
  EXPECT_EQ(ws->cutList().Rmdr.value, 2);
  EXPECT_EQ(ws->MacPar().Text(1, 1), "3.2");
  EXPECT_EQ(ws->File1().entries, std::vector<std::string>{"job1"});
  EXPECT_EQ(ws->jobs().Dir1, folder.Folder() + "Jobs");
  EXPECT_EQ(ws->MaxLogLen(), 50);
  EXPECT_TRUE(ws->FrameCommLog().visible);
  EXPECT_EQ(ws->cutList().decimalPlacesMetric, 2);
}

TEST_F(WorkstationFixture, RelativeFoldersAreTakenFromTheSettingsFolder) {
  std::filesystem::create_directories(folder.Path() / "Programs");
  std::filesystem::create_directories(folder.Path() / "Jobs");
  Start("[System]\nJobPath=Jobs\nProgramPath=Programs\n");
  ws->Activate();
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(WorkstationFixture, SkippedActivationOnlyEmptiesThePatternModel) {
  Start(StandardSettings());
  ws->Activate();
  folder.Write("Jobs/cuts.csv", "T,5,Oak,100,50,0,0,0,0,0,0,L,10,1,1,,0\n");
  ws->Dir1Changed(folder.Folder() + "Jobs");
  ASSERT_TRUE(ws->OptimizerFileClicked("cuts.csv"));
  ASSERT_EQ(ws->ShownOptimizerFileIndex(), 0);
  ws->MacParCellEdited(1, 1, "7.5");  // typed, not saved
  ui.directoryAnswers = {""};
  ws->PthParButtonClicked(kJobsRow, kBrowseColumn);  // the chooser is left without a choice
  ws->Activate();
  EXPECT_EQ(ws->MacPar().Text(1, 1), "7.5");
  EXPECT_EQ(ws->optimizer().PatCuts.size(), 1u);
  EXPECT_TRUE(ws->optimizer().Pat.Items.empty());  // no pattern is listed that is no longer held
  EXPECT_EQ(ws->ShownOptimizerFileIndex(), -1);
  EXPECT_FALSE(ws->SkipNextActivate());
  ws->Activate();
  EXPECT_EQ(ws->MacPar().Text(1, 1), "3.2");
}

TEST_F(WorkstationFixture, AbsoluteModeIsNeverSetBack) {
  Start(StandardSettings("Mode=ABSOLUTE"));
  ws->Activate();
  folder.Write("ORL.INI", StandardSettings("Mode=relative"));
  ws->Activate();
  EXPECT_TRUE(ws->AbsoluteMode());
}

TEST_F(WorkstationFixture, EndWaitsOneSecondPumpingEvents) {
  Start(StandardSettings());
  ui.onPump = [&] { clock.Advance(0.5); };
  ws->End();
  EXPECT_EQ(ui.pumps, 3);
}

TEST_F(WorkstationFixture, EndStopsScanningBeforeItPumpsEvents) {
  Start(StandardSettings());
  ASSERT_TRUE(ws->OpenPlc(/*simulate=*/true));
  ui.onPump = [&] {
    ws->ScanTick();  // the timer fired while the end waits
    clock.Advance(0.5);
  };
  ws->End();
  EXPECT_FALSE(ws->ScanTimerEnabled());
  EXPECT_EQ(ws->plc().CmAtvty, "");  // no tick ran: a tick always leaves its mark
  EXPECT_FALSE(ws->plc().PosSent);
}

TEST_F(WorkstationFixture, HousekeepingRefreshesTheShownListWhenFilesChange) {
  folder.Write("Programs/a", "");
  Start(StandardSettings());
  ws->Activate();
  folder.Write("Programs/b", "");
  ws->HousekeepingTick();
  EXPECT_EQ(ws->File1().entries, (std::vector<std::string>{"a", "b"}));
  std::filesystem::remove(folder.Path() / "Programs/a");
  std::filesystem::remove(folder.Path() / "Programs/b");
  folder.Write("Programs/c", "");
  folder.Write("Programs/d", "");
  ws->HousekeepingTick();  // same count, other names
  EXPECT_EQ(ws->File1().entries, (std::vector<std::string>{"c", "d"}));
  ws->TabClicked(kParametersTab);
  folder.Write("Programs/e", "");
  ws->HousekeepingTick();
  EXPECT_EQ(ws->File1().entries.size(), 2u);
}

TEST_F(WorkstationFixture, HousekeepingOnImportTabFallsBackWhenTheRemovableMediaIsGone) {
  Start(StandardSettings());
  ws->Activate();
  folder.Write("Jobs/CPOUT.001", "");
  ws->TabClicked(kImportTab);
  ws->HousekeepingTick();
  EXPECT_EQ(ws->jobs().File2.entries, std::vector<std::string>{"CPOUT.001"});
  std::filesystem::create_directories(folder.Path() / "media" / "stick");
  fileSystem.plugged = {folder.Folder() + "media/stick"};
  ws->JobBrsClicked();
  ws->Dir1EntryOpened("stick");
  ASSERT_EQ(ws->jobs().JobBrsCaption, kAccessHd);
  fileSystem.plugged.clear();  // the stick is pulled
  ws->HousekeepingTick();  // the toggle takes the job browser back to the Jobs folder
  EXPECT_EQ(ws->jobs().Dir1, folder.Folder() + "Jobs");
  EXPECT_EQ(ws->jobs().JobBrsCaption, kAccessFloppy);
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(WorkstationFixture, AMissingJobsFolderWarnsOnceAndRunsNoToggle) {
  Start(StandardSettings());
  std::filesystem::remove(folder.Path() / "Jobs");
  ws->Activate();
  ws->TabClicked(kImportTab);
  ws->HousekeepingTick();
  ws->HousekeepingTick();
  EXPECT_EQ(ui.Texts(), std::vector<std::string>{kDriveNotReady});
}

}  // namespace
}  // namespace orl
