// Book labels written as parts are cut (on a label file that fails, a line
// is written whole or not at all, and a label the file did not take is
// written, in order, at the next hand-over the file takes lines again),
// the I/O diagnostics grid and the manual target.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/resource.h>
#include <sys/wait.h>
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

// Part labels of a book go on lines of their own; a file over the limit
// starts afresh.
TEST_F(PlcBookLabels, AppendedLabelsTakeWholeLinesAndAFileOverTheLimitStartsAfresh) {
  const std::string file = (folder / "labels.txt").string();
  EXPECT_TRUE(AppendBookLabel(file, "PART 1\r\nPART 2\rPART 3"));
  EXPECT_EQ(ReadAll(file), "PART 1\nPART 2\nPART 3\n");
  std::ofstream(file) << std::string(kLabelFileLimit + 1, 'x');
  EXPECT_TRUE(AppendBookLabel(file, "NEW"));
  EXPECT_EQ(ReadAll(file), "NEW\n");
  EXPECT_TRUE(AppendBookLabel(file, "NEXT"));
  EXPECT_EQ(ReadAll(file), "NEW\nNEXT\n");
}

TEST_F(PlcBookLabels, TheSelectedBookPicksTheEntry) {
  host.selectedBook = 2;
  RunList();
  EXPECT_EQ(ReadAll(folder / "labels.txt"), "OTHER\n");
}

class PlcLabelQueue : public PlcBookLabels {
 protected:
  void SetUp() override {
    PlcBookLabels::SetUp();
    path = (folder / "labels.txt").string();
    host.labelPath = path;
    host.bookLabels.clear();
    for (int k = 1; k <= 4; ++k) host.bookLabels[{2 + k, 1, 1}] = "L" + std::to_string(k);  // rows 3..6
    state.log.MaxLogLen = 20;
    state.log.SetStampSource([] { return std::string("D ; T"); });
    plc.memory[kRelayAddress] = 1 << RelayBitIndex(kRelaySetToBeginning);
  }

  // Ticks until `count` targets have been handed over, the PLC asking for
  // the next one as soon as the last one is written.
  void HandOversUpTo(std::uint64_t count) {
    for (int i = 0; i < 40 && state.HandOvers < count; ++i) {
      ScanTick(state, plc, host);
      if (state.RelayWrite < 0 && state.TargetWrite <= 0) plc.memory[kRelayAddress] |= 1 << RelayBitIndex(701);
    }
    ASSERT_EQ(state.HandOvers, count);
  }

  std::string path;
};

TEST_F(PlcLabelQueue, LabelsAFullDiskRefusedAreWrittenInOrderOnceItTakesLinesAgain) {
  host.labelPath = "/dev/full";
  HandOversUpTo(2);
  EXPECT_EQ(state.labels.Labels(), (std::deque<std::string>{"L1", "L2"}));
  EXPECT_EQ(state.Alert, "Label file cannot be written: 2 labels waiting");
  host.labelPath = path;
  HandOversUpTo(3);
  EXPECT_EQ(ReadAll(path), "L1\nL2\nL3\n");
  EXPECT_TRUE(state.labels.Empty());
  EXPECT_EQ(state.Alert, "");
  HandOversUpTo(4);
  EXPECT_EQ(ReadAll(path), "L1\nL2\nL3\nL4\n");
  EXPECT_EQ(state.log.Lines(), (std::deque<std::string>{"D ; T ; Label file cannot be written: /dev/full",
                                                         "D ; T ; Label file written again: " + path}));
}

TEST_F(PlcLabelQueue, AWaitingLabelGoesOutAtTheNextHandOverEvenWithoutALabelOfItsOwn) {
  host.bookLabels.erase({5, 1, 1});  // entry 3 has no label
  host.labelDiskFull = true;
  HandOversUpTo(2);
  host.labelDiskFull = false;
  HandOversUpTo(3);
  EXPECT_EQ(ReadAll(path), "L1\nL2\n");
  EXPECT_EQ(host.labelLinesTried, (std::vector<std::string>{"L1", "L1", "L1", "L2"}));
}

TEST_F(PlcLabelQueue, AFileThatKeepsFailingKeepsTheNewestLabelsAndLogsTheDropsOnOneLine) {
  host.labelDiskFull = true;
  state.labels = PendingLabels(1);
  HandOversUpTo(3);
  EXPECT_EQ(state.labels.Labels(), std::deque<std::string>{"L3"});
  EXPECT_EQ(state.log.Lines().back(), "D ; T ; Label dropped, too many waiting for the label file (repeated 2 times)");
}

// The disk is as full as a file size limit makes it: the line that no
// longer fits is not left half written.
TEST(PlcLabelFile, ALineCutShortIsTakenBackAndTheNextStartsOnItsOwnLine) {
  const fs::path file = fs::temp_directory_path() / ("plc_torn_label_" + std::to_string(::getpid()));
  fs::remove(file);
  ASSERT_TRUE(AppendBookLabel(file.string(), "BOOK-A"));
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit tenBytes{10, 10};
    ::setrlimit(RLIMIT_FSIZE, &tenBytes);
    ::_exit(AppendBookLabel(file.string(), "BOOK-B, LONGER") ? 1 : 0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "a torn line was reported as written";
  EXPECT_EQ(ReadAll(file), "BOOK-A\n");
  EXPECT_TRUE(AppendBookLabel(file.string(), "BOOK-C"));
  EXPECT_EQ(ReadAll(file), "BOOK-A\nBOOK-C\n");
  fs::remove(file);
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
