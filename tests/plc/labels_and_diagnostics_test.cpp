// Book labels written as parts are cut, the I/O diagnostics grid and the
// manual target.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "saw/plc/label_file.h"
#include "saw/plc/operator_requests.h"
#include "saw/plc/register_map.h"
#include "saw/plc/scan_loop.h"
#include "tests/fakes/fake_plc_link.h"
#include "tests/fakes/fake_scan_host.h"

namespace orl {
namespace {

namespace fs = std::filesystem;
using testing::FakeScanHost;
using testing::MemoryPlcLink;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class PlcBookLabels : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("plc_labels_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    host.labelPath = "  " + (folder / "labels.txt").string() + " ";
    // Entries 1..3 at rows 4..6 of group 1; the head at row 3.
    host.list = testing::MakeTestList(4);
    host.bookLabels[{4, 1, 1}] = "BOOK-A";
    host.bookLabels[{5, 1, 1}] = "BOOK-A";
    host.bookLabels[{6, 1, 1}] = "BOOK-B";
    host.bookLabels[{5, 1, 2}] = "OTHER";
  }
  void TearDown() override { fs::remove_all(folder); }

  // Hands over every entry, the PLC asking each time.
  void RunList() {
    plc.memory[kRelayAddress] = 1 << RelayBitIndex(700);
    for (int i = 0; i < 40; ++i) {
      ScanTick(state, plc, host);
      if (state.RelayWrite < 0 && state.TargetWrite <= 0) plc.memory[kRelayAddress] |= 1 << RelayBitIndex(701);
    }
  }

  fs::path folder;
  MemoryPlcLink plc;
  FakeScanHost host;
  PlcState state;
};

TEST_F(PlcBookLabels, TheSameLabelForConsecutiveCutsIsWrittenOnce) {
  RunList();
  EXPECT_EQ(ReadAll(folder / "labels.txt"), "BOOK-A\nBOOK-B\n");
  EXPECT_EQ(state.LastBookLabel, "BOOK-B");
}

TEST_F(PlcBookLabels, AFileOverTheLimitStartsAfresh) {
  std::ofstream(folder / "labels.txt") << std::string(kLabelFileLimit + 1, 'x');
  EXPECT_TRUE(AppendBookLabel((folder / "labels.txt").string(), "NEW"));
  EXPECT_EQ(ReadAll(folder / "labels.txt"), "NEW\n");
  EXPECT_TRUE(AppendBookLabel((folder / "labels.txt").string(), "NEXT"));
  EXPECT_EQ(ReadAll(folder / "labels.txt"), "NEW\nNEXT\n");
}

TEST_F(PlcBookLabels, PartLabelsOfABookGoOnLinesOfTheirOwn) {
  EXPECT_TRUE(AppendBookLabel((folder / "labels.txt").string(), "PART 1\r\nPART 2\rPART 3"));
  EXPECT_EQ(ReadAll(folder / "labels.txt"), "PART 1\nPART 2\nPART 3\n");
}

TEST_F(PlcBookLabels, AnUnwritableLabelFileNeverStopsTheCycle) {
  host.labelPath = (folder / "missing" / "labels.txt").string();
  RunList();
  EXPECT_EQ(state.LastBookLabel, "BOOK-B");
  EXPECT_GT(state.PosIndex, 3);
}

TEST_F(PlcBookLabels, AnUnwritableLabelFileIsLoggedOnceAndOnceWhenItWorksAgain) {
  const std::string path = (folder / "later" / "labels.txt").string();
  host.labelPath = path;
  state.log.MaxLogLen = 10;
  RunList();  // two labels fail
  fs::create_directories(folder / "later");
  state.LastBookLabel.clear();
  RunList();  // the list again: the two that waited go first, in order
  EXPECT_EQ(ReadAll(path), "BOOK-A\nBOOK-B\nBOOK-A\nBOOK-B\n");
  ASSERT_EQ(state.log.Lines().size(), 2u);
  EXPECT_TRUE(state.log.Lines()[0].ends_with(" ; Label file cannot be written: " + path));
  EXPECT_TRUE(state.log.Lines()[1].ends_with(" ; Label file written again: " + path));
}

TEST_F(PlcBookLabels, TheSelectedBookPicksTheEntry) {
  host.selectedBook = 2;
  RunList();
  EXPECT_EQ(ReadAll(folder / "labels.txt"), "OTHER\n");
}

TEST(PlcDigIO, ClicksAskForTheImageWithOnePointFlipped) {
  PlcState state;
  state.OutputImage = 1;
  DigIOClick(state, 3, kOutputsColumn);
  EXPECT_EQ(state.OutputWrite, 5);

  state.RelayImage = 1 << 10;
  ShowRelays(state.DigIO, state.RelayImage);
  DigIOClick(state, 3, kRelays71xColumn);  // relay 712, shown on
  EXPECT_EQ(state.RelayWrite, 0);

  state.OutputWrite = kNothingPending;
  DigIOClick(state, 8, kOutputsColumn);  // never shown, still switchable
  EXPECT_EQ(state.OutputWrite, 1 | 1 << 7);
  DigIOClick(state, 8, kOutputsColumn);  // from the image, not the pending word
  EXPECT_EQ(state.OutputWrite, 1 | 1 << 7);

  state.RelayWrite = kNothingPending;
  DigIOClick(state, 1, kInputsColumn);
  EXPECT_EQ(state.RelayWrite, kNothingPending);
}

TEST(PlcDigIO, CaptionsComeFromThePlcDataSection) {
  const fs::path ini = fs::temp_directory_path() / ("plc_digio_" + std::to_string(::getpid()) + ".ini");
  std::ofstream(ini) << "[PLCData]\nNameX0=Encoder Ch A\nNameY4=Program End\nNameCR701=Send Next Pos\n"
                        "NameCR717=Seventeen\n";
  CellGrid grid = MakeDigIOGrid();
  grid.SetText(2, 2, "old");
  DigIOSetup(grid, ProfileFile(ini));
  fs::remove(ini);
  EXPECT_EQ(grid.Text(1, kInputsColumn), "Encoder Ch A");
  EXPECT_EQ(grid.Text(5, kOutputsColumn), "Program End");
  EXPECT_EQ(grid.Text(2, kRelays70xColumn), "Send Next Pos");
  EXPECT_EQ(grid.Text(8, kRelays71xColumn), "Seventeen");
  EXPECT_EQ(grid.Text(2, 2), "");
  EXPECT_EQ(grid.Text(0, kInputsColumn), "Inputs  (X)");
}

TEST(PlcManualTarget, TemplateLengthAndTextThatIsNoNumber) {
  CellGrid macPar = MakeMacParGrid();
  macPar.SetText(kTemplateLengthRow, 1, "20.25");
  ManualPosition manual;
  manual.ManPos = "10";
  manual.TLen = true;
  EXPECT_EQ(ManualTarget(manual, macPar), 100 + 202);  // 202.5 tenths rounds to even
  manual.ManPos = "abc";
  EXPECT_EQ(ManualTarget(manual, macPar), 202);
}

}  // namespace
}  // namespace orl
