// What the operator is told about trouble: a lost link and a label file
// that takes no lines, on the alert line beside the cut list and in a
// communication log that a long failure does not flood.
#include <gtest/gtest.h>

#include "saw/plc/scan_transfer.h"
#include "saw/plc/register_map.h"
#include "saw/plc/scan_loop.h"
#include "tests/fakes/fake_plc_link.h"
#include "tests/fakes/fake_scan_host.h"

namespace orl {
namespace {

using testing::FakeScanHost;
using testing::MemoryPlcLink;

TEST(PlcCommLogRepeats, ARepeatedAttemptIsCountedOnOneLine) {
  CommLog log;
  int second = 0;
  log.SetStampSource([&] { return "D ; " + std::to_string(second++); });
  log.MaxLogLen = 10;
  std::vector<std::string> observed;
  log.SetObserver([&](const std::string& line) { observed.push_back(line); });
  log.LogRepeating("again");
  log.LogRepeating("again");
  log.LogRepeating("again");
  ASSERT_EQ(log.Lines().size(), 1u);
  EXPECT_EQ(log.Lines().back(), "D ; 2 ; again (repeated 3 times)");
  EXPECT_EQ(observed.back(), log.Lines().back());

  log.LogComm("other");  // anything in between starts the count anew
  log.LogRepeating("again");
  ASSERT_EQ(log.Lines().size(), 3u);
  EXPECT_EQ(log.Lines().back(), "D ; 4 ; again");
  log.LogComm("plain");
  log.LogComm("plain");  // ordinary lines are never folded
  EXPECT_EQ(log.Lines().size(), 5u);
}

TEST(PlcCommLogRepeats, TheLineThatOpenedAFailureStaysWhileItLasts) {
  CommLog log;
  log.SetStampSource([] { return std::string("D ; T"); });
  log.MaxLogLen = 3;
  log.LogComm("before");
  const CommLog::LineId lost = log.LogKept("lost");
  for (const char* text : {"a", "b", "c", "d"}) log.LogComm(text);
  EXPECT_EQ(log.Lines(), (std::deque<std::string>{"D ; T ; lost", "D ; T ; c", "D ; T ; d"}));
  log.Release(lost);
  log.LogComm("e");
  EXPECT_EQ(log.Lines(), (std::deque<std::string>{"D ; T ; c", "D ; T ; d", "D ; T ; e"}));

  log.MaxLogLen = 1;  // a log of one line shows the newest, kept or not
  log.LogKept("kept");
  log.LogComm("newest");
  EXPECT_EQ(log.Lines(), (std::deque<std::string>{"D ; T ; newest"}));
}

// A link that can be unplugged: as the Modbus link does while its
// connection is down, it is busy, and its health reports the loss and an
// attempt to reconnect on every transfer.
class UnpluggableLink : public MemoryPlcLink {
 public:
  bool unplugged = false;
  bool LinkBusy() const override { return unplugged || MemoryPlcLink::LinkBusy(); }
  LinkHealth Health() const override { return {unplugged, unplugged}; }
  std::string LastError() const override { return "Connection timed out"; }
};

class PlcAlertScan : public ::testing::Test {
 protected:
  void SetUp() override {
    state.log.MaxLogLen = 200;
    state.log.SetStampSource([] { return std::string("D ; T"); });
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) ScanTick(state, link, host);
  }
  std::size_t LinesHolding(const std::string& text) const {
    return std::count_if(state.log.Lines().begin(), state.log.Lines().end(),
                         [&](const std::string& line) { return line.find(text) != std::string::npos; });
  }

  UnpluggableLink link;
  FakeScanHost host;
  PlcState state;
};

TEST_F(PlcAlertScan, ALostLinkIsShownAndItsReconnectsDoNotPushItOutOfTheLog) {
  Ticks(2);
  EXPECT_EQ(state.Alert, "");
  link.unplugged = true;
  Ticks(400);  // two minutes of reconnecting at 300 ms a tick
  EXPECT_EQ(state.Alert, "PLC not answering: Connection timed out");
  EXPECT_EQ(state.log.Lines().front(), "D ; T ; PLC link lost: Connection timed out");
  EXPECT_EQ(LinesHolding(kLogReconnecting), 1u);
  EXPECT_EQ(state.log.Lines().back(), "D ; T ; Reconnecting to the PLC (repeated 399 times)");

  link.unplugged = false;
  Ticks(1);
  EXPECT_EQ(state.Alert, "");
  EXPECT_EQ(state.log.Lines().back(), "D ; T ; PLC link back");
}

}  // namespace
}  // namespace orl
