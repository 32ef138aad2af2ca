#include "saw/shell/machine_parameters.h"

#include <gtest/gtest.h>

#include "fakes/temp_folder.h"

namespace orl {
namespace {

TEST(MachineParameters, SaveWritesAllValuesAsTyped) {
  testing::TempFolder folder;
  ProfileFile settings(folder.Path() / "ORL.INI");
  CellGrid macPar = MakeMacParGrid();
  macPar.SetText(kSawKerfRow, 1, "3.2");
  macPar.SetText(kRearTrimRow, 1, "ten");
  SaveMachineParameters(macPar, settings);
  EXPECT_EQ(settings.ReadSetting("Configuration", "SawKerf"), "3.2");
  EXPECT_EQ(settings.ReadSetting("Configuration", "HeadCut"), "ten");  // shown as Rear Trim, stored as HeadCut
  CellGrid loaded = MakeMacParGrid();
  LoadMachineParameters(loaded, settings);
  EXPECT_EQ(loaded.Text(kRearTrimRow, 1), "ten");
  EXPECT_EQ(MachineParameter(loaded, kRearTrimRow), 0);
  EXPECT_EQ(loaded.Text(kRearTrimRow, 0), "Rear Trim");
}

TEST(PathsGrid, SaveAndLoadAllFourRows) {
  testing::TempFolder folder;
  ProfileFile settings(folder.Path() / "ORL.INI");
  CellGrid pthPar = MakePthParGrid();
  pthPar.SetText(kJobsRow, 1, "/jobs");
  pthPar.SetText(kPrintPathRow, 1, "/tmp/labels.txt");
  SavePaths(pthPar, settings);
  EXPECT_EQ(settings.ReadSetting("System", "PrintPath"), "/tmp/labels.txt");
  CellGrid loaded = MakePthParGrid();
  LoadPaths(loaded, settings);
  EXPECT_EQ(loaded.Text(kJobsRow, 1), "/jobs");
  EXPECT_EQ(loaded.Text(kProgramsRow, 1), "");
  EXPECT_EQ(loaded.Text(kProgramsRow, kBrowseColumn), "Browse...");
}

TEST(PathsGrid, ChosenFolderRules) {
  CellGrid pthPar = MakePthParGrid();
  pthPar.SetText(kJobsRow, 1, "/jobs");
  EXPECT_FALSE(ApplyChosenFolder(pthPar, kJobsRow, "", "/media"));  // cancelled
  EXPECT_FALSE(ApplyChosenFolder(pthPar, kJobsRow, "A:\\JOBS", "/media"));
  EXPECT_FALSE(ApplyChosenFolder(pthPar, kJobsRow, "/media/usb/jobs", "/media"));
  EXPECT_EQ(pthPar.Text(kJobsRow, 1), "/jobs");
  EXPECT_TRUE(ApplyChosenFolder(pthPar, kProgramsRow, "/media/usb/programs", "/media"));
  EXPECT_EQ(pthPar.Text(kProgramsRow, 1), "/media/usb/programs");
  EXPECT_TRUE(ApplyChosenFolder(pthPar, kJobsRow, "/mediathek/jobs", "/media"));
}

}  // namespace
}  // namespace orl
