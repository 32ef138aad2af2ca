// The scan tick against a PLC memory: what is read and written in which
// order, and how the sequencing answers the control relays.
#include <gtest/gtest.h>

#include "saw/plc/operator_requests.h"
#include "saw/plc/register_map.h"
#include "saw/plc/scan_loop.h"
#include "saw/plc/scan_transfer.h"
#include "tests/fakes/fake_plc_link.h"
#include "tests/fakes/fake_scan_host.h"

namespace orl {
namespace {

using testing::FakeScanHost;
using testing::MakeTestList;
using testing::MemoryPlcLink;

std::int32_t Bit(int relay) { return 1 << RelayBitIndex(relay); }

class PlcScanLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    state.log.MaxLogLen = 20;
    state.log.SetStampSource([] { return std::string("D ; T"); });
  }
  void Tick() { ScanTick(state, link, host); }
  void SetRelays(std::int32_t word) { link.memory[40634] = word; }
  std::int32_t Relays() { return link.Word(40634); }
  // At least one tick, then ticks until nothing is pending.
  void Settle() {
    Tick();
    for (int i = 0; i < 10 && (state.RelayWrite >= 0 || state.OutputWrite >= 0); ++i) Tick();
  }
  std::vector<std::int32_t> TargetsWritten() const {
    std::vector<std::int32_t> targets;
    for (const auto& w : link.writes)
      if (w.address == kTargetAddress) targets.push_back(DecodeBcd(w.words[0], w.words[1]));
    return targets;
  }

  MemoryPlcLink link;
  FakeScanHost host;
  PlcState state;
};

// No list at start-up, or one holding only the head: the end is reported at
// once and no target is written.
TEST_F(PlcScanLoop, NothingToCutReportsTheEndAtOnce) {
  Tick();
  EXPECT_EQ(host.advBooksCalls, 1);
  EXPECT_TRUE(state.PosSent);
  EXPECT_EQ(state.TargetWrite, 0);
  EXPECT_EQ(state.CmAtvty, " ");
  EXPECT_TRUE(link.writes.empty());
  host.list = MakeTestList(1);
  SetRelays(Bit(700));
  Tick();
  EXPECT_EQ(host.advBooksCalls, 2);
  EXPECT_EQ(state.TargetWrite, 0);
  Settle();
  EXPECT_TRUE(TargetsWritten().empty());
}

TEST_F(PlcScanLoop, SetToBeginningHandsOverTheFirstEntryInTheSameTick) {
  host.list = MakeTestList(3);
  SetRelays(Bit(700));
  Tick();
  EXPECT_EQ(host.makeCalls, 1);
  EXPECT_EQ(state.PosIndex, 1);
  EXPECT_EQ(state.TargetWrite, 1000);
  EXPECT_EQ(state.RelayWrite, Bit(715));  // 700 and 701 cleared, new board raised
  ASSERT_GE(host.currentCells.size(), 2u);
  EXPECT_EQ(host.currentCells[0], std::make_pair(3, 1));
  EXPECT_EQ(host.highlights.back(), std::make_pair(3, 1));

  // The target block goes first, then the relay word, then reads resume.
  Tick();
  ASSERT_EQ(link.writes.size(), 1u);
  EXPECT_EQ(link.writes[0].address, kTargetAddress);
  EXPECT_EQ(link.writes[0].words, (std::vector<std::int32_t>{0x1000, 0, 0x1000, 0}));
  Tick();
  ASSERT_EQ(link.writes.size(), 2u);
  EXPECT_EQ(link.writes[1].address, kRelayAddress);
  EXPECT_EQ(link.writes[1].words[0], Bit(715));
  const int readsBefore = link.readCalls;
  Tick();
  EXPECT_GT(link.readCalls, readsBefore);
}

// Asked once more at the end, the loop moves to the next book, and asks
// again only once "Send Next Pos" has dropped and returned; "Set To
// Beginning" starts a new run even while "Send Next Pos" is held.
TEST_F(PlcScanLoop, HandsOverTheWholeListInOrderThenTheNextBookOncePerRequest) {
  host.list = MakeTestList(3);
  SetRelays(Bit(700));
  Tick();
  Settle();
  for (int k = 0; k < 2; ++k) {
    EXPECT_FALSE(Relays() & Bit(713));
    SetRelays(Relays() | Bit(701));
    Settle();
  }
  EXPECT_EQ(TargetsWritten(), (std::vector<std::int32_t>{1000, 2000, 3000}));
  EXPECT_TRUE(Relays() & Bit(713));  // raised with the last entry
  EXPECT_FALSE(Relays() & Bit(701));
  EXPECT_EQ(host.advBooksCalls, 0);

  SetRelays(Relays() | Bit(701));
  Settle();
  EXPECT_EQ(host.advBooksCalls, 1);
  EXPECT_EQ(TargetsWritten().size(), 3u);
  for (int i = 0; i < 5; ++i) Tick();
  EXPECT_EQ(host.advBooksCalls, 1);
  SetRelays(Relays() & ~Bit(701));
  Tick();
  SetRelays(Relays() | Bit(701));
  Tick();
  EXPECT_EQ(host.advBooksCalls, 2);

  SetRelays(Relays() | Bit(700));
  Tick();
  EXPECT_EQ(state.PosIndex, 1);
  EXPECT_EQ(state.TargetWrite, 1000);
}

TEST_F(PlcScanLoop, SendNextPosOffOnlyClearsPosSent) {
  host.list = MakeTestList(3);
  SetRelays(Bit(700));
  Tick();
  Settle();
  for (int i = 0; i < 5; ++i) Tick();
  EXPECT_EQ(state.PosIndex, 1);
  EXPECT_FALSE(state.PosSent);
  EXPECT_EQ(host.advBooksCalls, 0);
  EXPECT_EQ(TargetsWritten().size(), 1u);
}

TEST_F(PlcScanLoop, NothingToCutRebuildsOnEveryTickWhile700IsOn) {
  host.makeResult = false;
  SetRelays(Bit(700));
  Tick();
  Tick();
  EXPECT_EQ(state.PosIndex, -1);
  EXPECT_EQ(host.makeCalls, 2);
  EXPECT_EQ(state.RelayWrite, kNothingPending);
}

TEST_F(PlcScanLoop, ManualPositionWaitsForSendNextPos) {
  host.list = MakeTestList(3);
  host.macPar.SetText(kClampLengthRow, 1, "150");
  SetRelays(Bit(700));
  Tick();
  Settle();
  state.manual = {"10", kBlack, true, false, kManualInch, true};
  ManSndClick(state);
  ManSndClick(state);  // twice before the loop runs: one target
  for (int i = 0; i < 3; ++i) Tick();
  EXPECT_TRUE(state.ManualSend);
  EXPECT_EQ(state.manual.ManPosColor, kManPosWaitingColor);

  SetRelays(Relays() | Bit(701));
  Tick();
  EXPECT_FALSE(state.ManualSend);
  EXPECT_EQ(state.manual.ManPosColor, kManPosTakenColor);
  EXPECT_EQ(state.TargetWrite, 4040);
  EXPECT_EQ(state.RelayWrite & (Bit(714) | Bit(712) | Bit(701) | Bit(700)), Bit(714) | Bit(712));
  EXPECT_EQ(state.PosIndex, 4);
  Settle();
  EXPECT_EQ(TargetsWritten(), (std::vector<std::int32_t>{1000, 4040}));
}

TEST_F(PlcScanLoop, DisableProgrammingIsReportedOnEveryTick) {
  SetRelays(Bit(702));
  Tick();
  Tick();
  SetRelays(0);
  Tick();
  EXPECT_EQ(host.programmingDisabled, (std::vector<bool>{true, true, false}));
}

TEST_F(PlcScanLoop, ReadTickFillsImagesCaptionsAndColours) {
  link.memory[40400] = 0x0010;  // X4 only: a bit image, not the number 10
  link.memory[40500] = 0x0041;  // Y0 and Y6
  link.memory[40634] = Bit(710);
  link.memory[1076] = 13228;
  link.memory[2000] = 0x3228;
  Tick();
  EXPECT_EQ(state.InputImage, 0x10);
  EXPECT_EQ(state.DigIO.Format(5, kInputsColumn).backColor, kPointOnColor);
  EXPECT_EQ(state.DigIO.Format(2, kInputsColumn).backColor, kInputOffColor);
  EXPECT_EQ(state.DigIO.Format(1, kOutputsColumn).backColor, kPointOnColor);
  EXPECT_EQ(state.DigIO.Format(7, kOutputsColumn).backColor, kOutputOffColor);  // Y6 is not shown
  EXPECT_EQ(state.DigIO.Format(1, kRelays71xColumn).backColor, kPointOnColor);
  EXPECT_EQ(state.POS, "1322.8");
  EXPECT_EQ(state.Target, "1284.0");
}

TEST_F(PlcScanLoop, ClosedLinkStillSequencesAndKeepsWritesForLater) {
  link.open = false;
  state.RelayImage = Bit(700);
  host.list = MakeTestList(2);
  Tick();
  EXPECT_EQ(state.TargetWrite, 1000);
  EXPECT_EQ(link.readCalls, 0);
  EXPECT_TRUE(link.writes.empty());
  EXPECT_EQ(state.POS, "");
  link.open = true;
  Settle();
  EXPECT_EQ(TargetsWritten(), (std::vector<std::int32_t>{1000}));
}

TEST_F(PlcScanLoop, CreepDistanceIsClampedToWhatTheTargetBlockCarriesAndLogged) {
  host.list = MakeTestList(2);
  host.macPar.SetText(kCreepDistanceRow, 1, "1e12");
  SetRelays(Bit(700));
  Tick();
  Tick();
  ASSERT_EQ(link.writes.size(), 1u);
  EXPECT_EQ(link.writes[0].words, (std::vector<std::int32_t>{0x1000, 0, 0x9999, 0x9999}));
  ASSERT_FALSE(state.log.Lines().empty());
  EXPECT_NE(state.log.Lines().back().find(kLogCreepClamped), std::string::npos);

  host.macPar.SetText(kCreepDistanceRow, 1, "-5");  // BCD has no sign
  EXPECT_EQ(CreepTenths(host.macPar).tenths, 0);
  EXPECT_TRUE(CreepTenths(host.macPar).clamped);
  host.macPar.SetText(kCreepDistanceRow, 1, "50");
  EXPECT_FALSE(CreepTenths(host.macPar).clamped);
}

}  // namespace
}  // namespace orl
