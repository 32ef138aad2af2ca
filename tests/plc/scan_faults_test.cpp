// A PLC that answers garbage or not at all: pending writes are kept and
// retried, logged, never lost and never doubled; a lost link is shown on
// the alert line, its reconnects counted on one line of the log.
#include <gtest/gtest.h>

#include <algorithm>

#include "saw/plc/operator_requests.h"
#include "saw/plc/register_map.h"
#include "saw/plc/scan_loop.h"
#include "saw/plc/scan_transfer.h"
#include "tests/fakes/fake_plc_link.h"
#include "tests/fakes/fake_scan_host.h"

namespace orl {
namespace {

using testing::FakeScanHost;
using testing::FaultyPlcLink;
using testing::MemoryPlcLink;

class PlcScanFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    state.log.MaxLogLen = 50;
    state.log.SetStampSource([] { return std::string("D ; T"); });
  }
  void Tick() { ScanTick(state, faulty, host); }
  std::string LastLog() const { return state.log.Lines().empty() ? "" : state.log.Lines().back(); }
  std::size_t LinesHolding(const std::string& text) const {
    return std::count_if(state.log.Lines().begin(), state.log.Lines().end(),
                         [&](const std::string& line) { return line.find(text) != std::string::npos; });
  }

  MemoryPlcLink plc;
  FaultyPlcLink faulty{plc};
  FakeScanHost host;
  PlcState state;
};

TEST_F(PlcScanFaults, AfterAReconnectAPendingWordIsWrittenOnlyWhileItsBasisHolds) {
  const std::int32_t sendNextPos = 1 << RelayBitIndex(kRelaySendNextPos);
  const auto handOverInFlight = [&] {
    state.positions = testing::MakeTestList(3);
    state.PosIndex = state.LastHandOver.PosIndex = 2;
    state.PosSent = state.HandOverUnconfirmed = true;
    state.ImagesConnection = faulty.Connection();
    state.RelayHeld = sendNextPos;  // the PLC asked for entry 2
    state.RelayWrite = 0;           // the answer clears "Send Next Pos"
    ++faulty.reconnects;            // and the link dropped before it was confirmed
  };
  handOverInFlight();
  plc.memory[kRelayAddress] = 0;  // the PLC had taken it
  Tick();
  EXPECT_TRUE(plc.writes.empty());
  EXPECT_EQ(state.RelayWrite, kNothingPending);
  EXPECT_EQ(state.PosIndex, 2);

  host.list = testing::MakeTestList(3);
  handOverInFlight();
  plc.memory[kRelayAddress] = 1 << RelayBitIndex(kRelaySetToBeginning);  // the PLC restarted
  Tick();
  EXPECT_TRUE(plc.writes.empty());  // the stale word never reaches it
  EXPECT_EQ(state.LastHandOver.PosIndex, 1);
  EXPECT_EQ(state.TargetWrite, 1000);
}

TEST_F(PlcScanFaults, FailedWritesAreLoggedKeptAndRetriedInOrder) {
  state.TargetWrite = 8196;
  state.RelayWrite = 2;
  state.OutputWrite = 4;
  faulty.drop = true;
  Tick();
  Tick();
  EXPECT_EQ(state.TargetWrite, 8196);
  EXPECT_EQ(LastLog(), "D ; T ; Next Position");
  EXPECT_EQ(state.log.Lines().size(), 2u);
  EXPECT_EQ(plc.readCalls, 0);  // no images are read while a write is pending

  faulty.drop = false;
  Tick();
  ASSERT_EQ(plc.writes.size(), 1u);
  EXPECT_EQ(plc.writes[0].words, (std::vector<std::int32_t>{0x8196, 0, 0x1000, 0}));
  EXPECT_EQ(state.TargetWrite, -1);
  faulty.drop = true;
  Tick();
  EXPECT_EQ(LastLog(), "D ; T ; Direct Set Output");
  faulty.drop = false;
  Tick();
  faulty.drop = true;
  Tick();
  EXPECT_EQ(LastLog(), "D ; T ; Control Relay Set");
  faulty.drop = false;
  Tick();
  ASSERT_EQ(plc.writes.size(), 3u);
  EXPECT_EQ(plc.writes[1].address, kOutputAddress);
  EXPECT_EQ(plc.writes[2].address, kRelayAddress);
  EXPECT_EQ(state.RelayWrite, kNothingPending);
  EXPECT_EQ(state.OutputWrite, kNothingPending);
}

TEST_F(PlcScanFaults, AWriteThatThrowsIsDropped) {
  state.OutputWrite = 4;
  faulty.throwOnTransfer = true;
  Tick();
  EXPECT_EQ(state.OutputWrite, kNothingPending);
}

TEST_F(PlcScanFaults, ABusyLinkDefersTheWrite) {
  state.RelayWrite = 2;
  faulty.delayTransfers = 2;
  Tick();
  Tick();
  EXPECT_TRUE(plc.writes.empty());
  Tick();
  EXPECT_EQ(plc.writes.size(), 1u);
}

TEST_F(PlcScanFaults, AClickDuringTheTransferIsNotLost) {
  state.OutputWrite = 4;
  const TransferPlan plan = PrepareTransfer(state, host.macPar, true);
  const TransferResult result = Transfer(faulty, plan);
  state.OutputWrite = 5;  // the operator clicked while the write was under way
  ApplyTransfer(state, plan, result);
  EXPECT_EQ(state.OutputWrite, 5);
  Tick();
  EXPECT_EQ(plc.Word(kOutputAddress), 5);
  EXPECT_EQ(state.OutputWrite, kNothingPending);
}

TEST_F(PlcScanFaults, ATimeOutCostsOneRequestPerTick) {
  faulty.timeOut = true;
  Tick();
  EXPECT_EQ(state.log.Lines().size(), 1u);  // "Read PLC" once; the other reads found the link busy
  EXPECT_EQ(LastLog(), "D ; T ; Read PLC");
  EXPECT_EQ(state.POS, "------------");
  faulty.timeOut = false;
  plc.memory[1076] = 500;
  Tick();
  EXPECT_EQ(state.POS, "50.0");
}

TEST_F(PlcScanFaults, GarbledReadsLeaveTheImagesAsTheyWere) {
  state.RelayImage = 0x0004;
  faulty.garble = true;
  Tick();
  EXPECT_EQ(state.RelayImage, 0x0004);
  EXPECT_NE(LastLog().find("Poll Retry6"), std::string::npos);
}

TEST_F(PlcScanFaults, ADisplayThatThrowsDoesNotLoseTheEntry) {
  struct ThrowingHost : FakeScanHost {
    void HiLiteCell(int, int) override { throw std::runtime_error("grid"); }
  } throwing;
  throwing.list = testing::MakeTestList(3);
  plc.memory[kRelayAddress] = 1 << RelayBitIndex(700);
  ScanTick(state, faulty, throwing);
  EXPECT_EQ(state.PosIndex, 1);
  EXPECT_TRUE(state.PosSent);
  EXPECT_EQ(state.TargetWrite, 1000);
}

TEST_F(PlcScanFaults, ALostLinkIsShownAndItsReconnectsDoNotPushItOutOfTheLog) {
  Tick();
  Tick();
  EXPECT_EQ(state.Alert, "");
  faulty.unplugged = true;
  for (int i = 0; i < 400; ++i) Tick();  // two minutes of reconnecting at 300 ms a tick
  EXPECT_EQ(state.Alert, "PLC not answering: Connection refused");
  EXPECT_EQ(state.log.Lines().front(), "D ; T ; PLC link lost: Connection refused");
  EXPECT_EQ(LinesHolding(kLogReconnecting), 1u);
  EXPECT_EQ(state.log.Lines().back(), "D ; T ; Reconnecting to the PLC (repeated 399 times)");

  faulty.unplugged = false;
  Tick();
  EXPECT_EQ(state.Alert, "");
  EXPECT_EQ(state.log.Lines().back(), "D ; T ; PLC link back");
}

}  // namespace
}  // namespace orl
