#include "saw/cutlist/cut_program_files.h"

#include <gtest/gtest.h>

#include "cut_list_fixture.h"
#include "fakes/fake_ui.h"
#include "fakes/temp_folder.h"
#include "saw/cutlist/cut_program_file.h"
#include "saw/cutlist/job_folders.h"

namespace orl {
namespace {

using testing::CutListFixture;
using testing::FakeUi;
using testing::TempFolder;

TEST(CutProgramFile, RoundTripKeepsEveryCell) {
  CutListFixture f;
  f.grid().SetText(1, 1, "Kitchen, \"oak\"\nline two");
  f.grid().SetText(1, 2, "True");
  f.grid().SetText(51, 198, "x");
  f.grid().SetText(2, 1, " 12 ");
  CutListFixture g;
  ReadCutProgramText(CutProgramText(f.grid()), g.grid());
  for (int row = 1; row <= 51; ++row)
    for (int column = 1; column <= 198; ++column) ASSERT_EQ(g.Text(row, column), f.Text(row, column)) << row << "," << column;
}

TEST(CutProgramFile, WriterDropsTrailingEmptyFieldsAndRows) {
  CutListFixture f;
  f.grid().SetText(1, 2, "True");
  f.grid().SetText(3, 1, "1000");
  EXPECT_EQ(CutProgramText(f.grid()), ",True\r\n\r\n1000\r\n");
}

TEST(CutProgramFile, ReaderTakesWhatFitsFromAnyText) {
  CutListFixture f;
  f.grid().SetText(5, 5, "stale");
  std::string text;
  for (int row = 1; row <= 60; ++row) text += std::string(250, ',') + std::to_string(row) + "\n";
  text += std::string("\0\xff\"unterminated", 16);
  ReadCutProgramText(text, f.grid());
  EXPECT_EQ(f.Text(5, 5), "");
  EXPECT_EQ(f.Text(51, 1), "");
  ReadCutProgramText("a,b\nc" + std::string(2 * kMaxCellTextLength, 'x'), f.grid());
  EXPECT_EQ(f.Text(1, 2), "b");
  EXPECT_EQ(f.Text(2, 1).size(), kMaxCellTextLength);
}

TEST(CutProgramFile, AMissingFileOrOneThatIsNotACutProgramIsNotLoaded) {
  TempFolder folder;
  CutListFixture f;
  f.grid().SetText(4, 1, "500");
  EXPECT_FALSE(LoadCutProgramFile("/nonexistent/program", f.grid()));
  EXPECT_EQ(f.Text(4, 1), "500");
  const std::string row = "Desc,True\r\n";
  for (const std::string& text : {row + std::string("1\0" "2", 3),                     // a NUL byte
                                  row + std::string(kCutListColumns, ',') + "x\r\n",  // column 199
                                  row + std::string(kCutListRows - 1, '\n') + "x"}) {  // row 52
    folder.Write("file", text);
    EXPECT_EQ(ReadCutProgramFile(folder.File("file"), f.grid()), CutProgramRead::kNotACutProgram);
    EXPECT_EQ(f.Text(4, 1), "500");
  }
  // Empty fields and lines beyond the grid are no data.
  folder.Write("file", row + std::string(kCutListColumns + 5, ',') + "\r\n" + std::string(60, '\n'));
  EXPECT_EQ(ReadCutProgramFile(folder.File("file"), f.grid()), CutProgramRead::kRead);
  EXPECT_EQ(f.Text(1, 1), "Desc");
}

struct ProgramFolderFixture : ::testing::Test {
  TempFolder folder;
  RealFileSystem fileSystem;
  FileList programList;
  FakeUi ui;
  CutListFixture f;

  ProgramFolderFixture() { programList.folder = folder.Path().string(); }
};

TEST_F(ProgramFolderFixture, LoadSetsUnitDescriptionAndCursor) {
  folder.Write("inch", "Door panels,False\r\n\r\n48,1\r\n24,2,0.5\r\n");
  f.cutList.decimalPlacesInch = 3;
  f.cutList.HiRow = 4, f.cutList.HiCol = 1;
  f.grid().MoveCursor(9, 14);
  f.grid().SetBlockSelection(7, 18);  // groups 2 and 3 of the list before
  ASSERT_TRUE(LoadCutProgram(f.cutList, programList, "inch", 0));
  EXPECT_FALSE(f.grid().HasBlockSelection());
  EXPECT_EQ(f.cutList.Units, kInch);
  EXPECT_EQ(f.grid().Format(4, 1).decimals, 3);
  EXPECT_EQ(f.cutList.Desc, "Door panels");
  EXPECT_EQ(f.cutList.DispFName, "inch");
  EXPECT_EQ(f.cutList.Grv.value, 1);  // the groove in row 4
  EXPECT_EQ(f.cutList.HiRow, 0);
  EXPECT_EQ(f.grid().CursorRow(), 3);  // the operator is sent to the first board length
  EXPECT_EQ(f.grid().CursorColumn(), 1);
  EXPECT_EQ(f.cutList.CNum, "1");

  folder.Write("empty-unit", "Metric one\r\n");
  ASSERT_TRUE(LoadCutProgram(f.cutList, programList, "empty-unit", 0));
  EXPECT_EQ(f.cutList.Units, kMetric);
  EXPECT_EQ(f.Text(1, 2), "True");
  EXPECT_TRUE(ui.boxes.empty());
}

// Cancelled, nothing is saved and nothing asked.
TEST_F(ProgramFolderFixture, SaveGoesIntoTheProgramsFolderWhateverFolderWasChosen) {
  ui.saveAnswers.push_back(std::nullopt);
  EXPECT_FALSE(SaveCutList(f.cutList, programList, fileSystem, ui));
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
  f.grid().SetText(3, 1, "1000");
  ui.saveAnswers.push_back("/somewhere/else/job1");
  ASSERT_TRUE(SaveCutList(f.cutList, programList, fileSystem, ui));
  EXPECT_EQ(folder.Read("job1"), "\r\n\r\n1000\r\n");
  EXPECT_EQ(f.cutList.DispFName, "job1");
  EXPECT_EQ(programList.entries, std::vector<std::string>{"job1"});
  EXPECT_EQ(ui.saveDialogInitialFiles.back(), folder.Folder() + "*.*");
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(ProgramFolderFixture, OverwriteNeedsAYes) {
  folder.Write("job1", "old");
  f.cutList.DispFName = "job1";
  f.grid().SetText(3, 1, "1000");
  ui.saveAnswers.push_back(folder.File("job1"));
  ui.yesNoAnswers.push_back(false);
  EXPECT_FALSE(SaveCutList(f.cutList, programList, fileSystem, ui));
  EXPECT_EQ(folder.Read("job1"), "old");
  EXPECT_EQ(ui.saveDialogInitialFiles.back(), folder.Folder() + "job1");
  EXPECT_EQ(ui.boxes.back(), (testing::RecordedBox{kOverwriteQuestion, MessageIcon::Question, "Alert!"}));

  ui.saveAnswers.push_back(folder.File("job1"));
  ui.yesNoAnswers.push_back(true);
  EXPECT_TRUE(SaveCutList(f.cutList, programList, fileSystem, ui));
  EXPECT_EQ(folder.Read("job1"), "\r\n\r\n1000\r\n");
}

// The file system takes names of up to 255 bytes; the save's temporary file
// must not make a shorter limit of it.
TEST_F(ProgramFolderFixture, AnyNameTheFileSystemTakesIsSaved) {
  f.grid().SetText(3, 1, "1000");
  for (const std::size_t length : {241u, 255u}) {
    const std::string name(length, 'n');
    ui.saveAnswers.push_back(name);
    EXPECT_TRUE(SaveCutList(f.cutList, programList, fileSystem, ui)) << length;
    EXPECT_EQ(folder.Read(name), "\r\n\r\n1000\r\n") << length;
    EXPECT_EQ(f.cutList.DispFName, name);
  }
  ui.saveAnswers.push_back(std::string(256, 'n'));
  EXPECT_FALSE(SaveCutList(f.cutList, programList, fileSystem, ui));
  EXPECT_EQ(ui.Texts(), std::vector<std::string>{"cannot write " + folder.File(std::string(256, 'n')) +
                                                 ": file name too long"});
  EXPECT_EQ(f.cutList.DispFName, std::string(255, 'n'));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2);  // no temporary left
}

TEST(JobBrowser, FloppyToggleGoesThereAndBack) {
  TempFolder jobs, removable;
  jobs.Write("CPOUT.042", "");
  removable.Write("disk.csv", "");
  // Removable media is ready while something is mounted there.
  RealFileSystem fileSystem(jobs.Write("mounts", "/dev/sdb1 " + removable.Path().string() + " vfat rw 0 0\n"));
  FakeUi ui;
  JobBrowser browser;
  ShowJobFolder(browser, jobs.Folder(), fileSystem);
  EXPECT_EQ(browser.File2.entries, std::vector<std::string>{"CPOUT.042"});
  ToggleRemovableMedia(browser, jobs.Folder(), removable.Folder(), fileSystem, ui);
  EXPECT_EQ(browser.JobBrsCaption, kAccessHd);
  EXPECT_EQ(browser.File2.entries, std::vector<std::string>{"disk.csv"});
  ToggleRemovableMedia(browser, jobs.Folder(), removable.Folder(), fileSystem, ui);
  EXPECT_EQ(browser.JobBrsCaption, kAccessFloppy);
  EXPECT_EQ(browser.Dir1, jobs.Folder());
  EXPECT_TRUE(ui.boxes.empty());
}

TEST(JobBrowser, RemovableDriveNotReadyWarnsAndStays) {
  TempFolder jobs;
  RealFileSystem fileSystem;
  FakeUi ui;
  JobBrowser browser;
  ShowJobFolder(browser, jobs.Folder(), fileSystem);
  ToggleRemovableMedia(browser, jobs.Folder(), jobs.File("no-media"), fileSystem, ui);
  EXPECT_EQ(ui.Texts(), std::vector<std::string>{kFloppyNotReady});
  EXPECT_EQ(browser.Dir1, jobs.Folder());
  EXPECT_EQ(browser.JobBrsCaption, kAccessFloppy);
}

TEST(FilePattern, MatchesWithoutRegardToLetterCase) {
  EXPECT_TRUE(MatchesFilePattern("CPOUT.042", kOptimizerFilePattern));
  EXPECT_TRUE(MatchesFilePattern("job.saw", kOptimizerFilePattern));
  EXPECT_TRUE(MatchesFilePattern("a.Csv", kOptimizerFilePattern));
  EXPECT_FALSE(MatchesFilePattern("a.csv.bak", kOptimizerFilePattern));
  EXPECT_FALSE(MatchesFilePattern("notes.txt", kOptimizerFilePattern));
}

}  // namespace
}  // namespace orl
