// Book labels on a label file that fails: a line is written whole or not
// at all, and a label the file did not take is written, in order, at the
// next hand-over the file takes lines again.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "saw/plc/label_file.h"
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

class PlcLabelQueue : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("plc_label_queue_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    path = (folder / "labels.txt").string();
    host.labelPath = path;
    host.list = testing::MakeTestList(4);  // entries at rows 3..6 of group 1
    for (int k = 1; k <= 4; ++k) host.bookLabels[{2 + k, 1, 1}] = "L" + std::to_string(k);
    state.log.MaxLogLen = 20;
    state.log.SetStampSource([] { return std::string("D ; T"); });
    plc.memory[kRelayAddress] = 1 << RelayBitIndex(kRelaySetToBeginning);
  }
  void TearDown() override { fs::remove_all(folder); }

  // Ticks until `count` targets have been handed over, the PLC asking for
  // the next one as soon as the last one is written.
  void HandOversUpTo(std::uint64_t count) {
    for (int i = 0; i < 40 && state.HandOvers < count; ++i) {
      ScanTick(state, plc, host);
      if (state.RelayWrite < 0 && state.TargetWrite <= 0) plc.memory[kRelayAddress] |= 1 << RelayBitIndex(701);
    }
    ASSERT_EQ(state.HandOvers, count);
  }

  fs::path folder;
  std::string path;
  MemoryPlcLink plc;
  FakeScanHost host;
  PlcState state;
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

}  // namespace
}  // namespace orl
