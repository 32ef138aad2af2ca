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
  EXPECT_FALSE(ApplyChosenFolder(pthPar, kJobsRow, "/media/usb/jobs", "/media"));
  EXPECT_EQ(pthPar.Text(kJobsRow, 1), "/jobs");
  EXPECT_TRUE(ApplyChosenFolder(pthPar, kProgramsRow, "/media/usb/programs", "/media"));
  EXPECT_EQ(pthPar.Text(kProgramsRow, 1), "/media/usb/programs");
  EXPECT_TRUE(ApplyChosenFolder(pthPar, kJobsRow, "/mediathek/jobs", "/media"));
  // The removable drive is the removable-media folder, never a first letter.
  EXPECT_TRUE(ApplyChosenFolder(pthPar, kJobsRow, "Auftraege/jobs", "/media"));
}

TEST(PathsGrid, OnlyRemovableMediaWithNothingMountedIsADriveNotReady) {
  testing::TempFolder folder;
  const RealFileSystem nothingIn(folder.Write("mounts", "/dev/sda1 / ext4 rw 0 0\n"));
  EXPECT_TRUE(DriveReady(nothingIn, "/no/such/jobs", "/media"));  // a missing folder, a ready drive
  EXPECT_TRUE(DriveReady(nothingIn, "Auftraege", "/media"));
  EXPECT_FALSE(DriveReady(nothingIn, "/media", "/media"));
  EXPECT_FALSE(DriveReady(nothingIn, "/media/usb/jobs", "/media"));

  const RealFileSystem stickIn(folder.Write("mounts2", "/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 /media/usb\\040stick vfat rw 0 0\n"));
  EXPECT_TRUE(DriveReady(stickIn, "/media", "/media"));
  EXPECT_TRUE(DriveReady(stickIn, "/media/usb stick/jobs", "/media"));
  EXPECT_FALSE(DriveReady(stickIn, "/media/other/jobs", "/media"));
}

}  // namespace
}  // namespace orl
