// orl-tool run and the window drive the same scan cycle: the same cut
// program against the simulated saw PLC is handed over entry for entry
// alike, the relay word the PLC gets with each target carries that
// hand-over's flags, and the window shows each target as it was sent.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "saw/plc/register_map.h"
#include "saw/shell/text_number.h"
#include "tools/run_tool.h"
#include "plc/watched_link.h"
#include "window_fixture.h"

namespace orl {
namespace {

using testing::ClickItem;
using testing::WaitFor;
using testing::WindowFixture;

struct HandOver {
  int PosIndex = 0;
  int Target = 0;
  int CellRow = 0;
  int CellCol = 0;
  bool NewBoard = false;
  bool GrooveStroke = false;
  bool LastCut = false;
  bool operator==(const HandOver&) const = default;
};

std::ostream& operator<<(std::ostream& out, const HandOver& h) {
  return out << "{" << h.PosIndex << ": " << h.Target << " at (" << h.CellRow << "," << h.CellCol << ")"
             << (h.NewBoard ? " new board" : "") << (h.GrooveStroke ? " groove" : "") << (h.LastCut ? " last" : "")
             << "}";
}

HandOver FromState(const PlcState::HandOver& h) {
  return {h.PosIndex, h.entry.Target, h.entry.CellRow, h.entry.CellCol, h.entry.NewBoard, h.entry.GrooveStroke,
          h.LastCut};
}

bool Relay(std::int32_t word, int relay) { return (word >> RelayBitIndex(relay) & 1) != 0; }

struct ScanParity : WindowFixture {
  std::vector<HandOver> ThroughTheTool(const std::string& program) {
    const testing::ToolRun run = testing::RunTool("run '" + (folder.Path() / "Programs" / program).string() +
                                                  "' --ini '" + (folder.Path() / "ORL.INI").string() +
                                                  "' --plc sim --tick-ms 0 --until-done --json");
    EXPECT_EQ(run.status, 0) << run.err;
    std::vector<HandOver> handed;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
      const auto json = nlohmann::json::parse(line);
      if (!json.contains("Target")) continue;
      handed.push_back({json["PosIndex"], json["Target"], json["CellRow"], json["CellCol"], json["NewBoard"],
                        json["GrooveStroke"], json["LastCut"]});
    }
    return handed;
  }

  // The run through the window's scan driver, up to its last cut; what the
  // PLC was sent is left in `sent`, the targets the window showed in `shown`.
  std::vector<HandOver> ThroughTheWindow(const std::string& program) {
    ClickItem(window->programTab->File1, QString::fromStdString(program));
    testing::WatchedLink* plc = WrapLink<testing::WatchedLink>();
    std::vector<HandOver> handed;
    std::uint64_t seen = ws->plc().HandOvers;
    const auto recorder = QObject::connect(&window->scan, &ScanDriver::stateChanged, window.get(), [&] {
      shown.insert(window->Target->text().toStdString());
      if (ws->plc().HandOvers == seen || (!handed.empty() && handed.back().LastCut)) return;
      seen = ws->plc().HandOvers;
      handed.push_back(FromState(ws->plc().LastHandOver));
    });
    StartScanning();
    EXPECT_TRUE(WaitFor([&] { return ws->scanCycle().RunDone(); }, 30000));
    WaitFor([&] { return !handed.empty() && shown.contains(FormatMask(handed.back().Target / 10.0, kPositionMask)); });
    window->scan.StopScan();
    WaitFor([&] { return !window->scan.TransferInFlight(); });
    QObject::disconnect(recorder);
    sent = plc->Writes();
    return handed;
  }
  std::vector<testing::Written> sent;  // every word the PLC is sent, in order
  std::set<std::string> shown;
};

void ExpectSameHandOvers(ScanParity& test, const std::string& program) {
  const std::vector<HandOver> tool = test.ThroughTheTool(program);
  const std::vector<HandOver> window = test.ThroughTheWindow(program);
  ASSERT_FALSE(tool.empty());
  EXPECT_TRUE(tool.back().LastCut);
  EXPECT_EQ(window, tool) << program;

  // Each target the PLC got is followed by the relay word of its hand-over.
  std::size_t next = 0;
  for (std::size_t i = 0; i < test.sent.size() && next < window.size(); ++i) {
    if (test.sent[i].address != kTargetAddress) continue;
    const HandOver& h = window[next++];
    EXPECT_EQ(test.sent[i].value, h.Target) << h;
    std::size_t relay = i + 1;
    while (relay < test.sent.size() && test.sent[relay].address != kRelayAddress) ++relay;
    ASSERT_LT(relay, test.sent.size()) << "no relay word after " << h;
    const std::int32_t word = test.sent[relay].value;
    EXPECT_EQ(Relay(word, kRelayNewBoard), h.NewBoard) << h;
    EXPECT_EQ(Relay(word, kRelayGroove), h.GrooveStroke) << h;
    if (h.LastCut) {
      EXPECT_TRUE(Relay(word, kRelayLastCut)) << h;
    }
    EXPECT_FALSE(Relay(word, kRelaySendNextPos)) << h;
    EXPECT_FALSE(Relay(word, kRelayManualPos)) << h;
    EXPECT_TRUE(test.shown.contains(FormatMask(h.Target / 10.0, kPositionMask))) << h << " never shown";
  }
  EXPECT_EQ(next, window.size()) << "targets the PLC never got";
}

TEST_F(ScanParity, AGrooveProgramIsHandedOverAlikeByTheToolAndTheWindow) {
  Start();
  ExpectSameHandOvers(*this, "metric-groove");
}

// One-tick hand-overs give the words of a tick per word (one_tick_handover_test.cpp).
TEST_F(ScanParity, AProgramOfSeveralGroupsWithTheHandOverInOneTickIsHandedOverAlikeByBoth) {
  Start({{"HandOverInOneTick", "1"}, {"ScanIntervalMs", "100"}});
  ExpectSameHandOvers(*this, "kitchen-groups");
}

}  // namespace
}  // namespace orl
