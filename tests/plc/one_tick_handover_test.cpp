// The hand-over in one tick: the tick whose read sees "Send Next Pos"
// writes the target block, then the relay word, the relay word only after
// the block went through. The saw gets the same targets and relay words,
// in the same order, as with a tick per word; also when the relay word
// fails, and when the PLC restarts between the two writes.
#include <gtest/gtest.h>

#include "saw/plc/register_map.h"
#include "saw/plc/scan_loop.h"
#include "saw/plc/sim_plc_link.h"
#include "tests/fakes/fake_scan_host.h"
#include "tests/plc/watched_link.h"

namespace orl {
namespace {

using testing::FakeScanHost;
using testing::WatchedLink;
using testing::Written;

struct SimulatedSaw {
  SimClock clock;
  SimPlcLink sim{Config(), clock};
  WatchedLink link{sim};
  FakeScanHost host;
  PlcState state;

  SimulatedSaw() {
    host.list = testing::ExampleBoardList(/*absolute=*/true);
    sim.Open();
  }
  static SawSimConfig Config() {
    SawSimConfig config;
    config.absolute = true;
    return config;
  }
  // Ticks until the saw has cut `runs` lists; the ticks it took.
  int Run(int runs, bool handOverInOneTick) {
    for (link.tick = 1; link.tick < 400 && sim.Model().RunsCompleted() < runs; ++link.tick) {
      ScanTick(state, link, host, handOverInOneTick);
      clock.Advance(0.3);
    }
    return link.tick;
  }
  // The values written to an address, the first `count` of them (a faster
  // run may have begun the next list when the count is reached).
  std::vector<std::int32_t> Words(int address, std::size_t count) const {
    std::vector<std::int32_t> words;
    for (const Written& w : link.Writes())
      if (w.address == address && words.size() < count) words.push_back(w.value);
    return words;
  }
  std::vector<std::int32_t> Goals(std::size_t count) const {
    std::vector<std::int32_t> goals;
    for (const auto& t : sim.Model().TargetsTaken())
      if (goals.size() < count) goals.push_back(t.goal);
    return goals;
  }
  // The two runs' targets and relay words are the same, in the same order.
  void ExpectSameWordsAs(const SimulatedSaw& other) const {
    const std::size_t count = other.sim.Model().TargetsTaken().size();
    EXPECT_EQ(count, 8u);
    EXPECT_EQ(Goals(count), other.Goals(count));
    EXPECT_EQ(Words(kTargetAddress, count), other.Words(kTargetAddress, count));
    const std::size_t relayWords = other.Words(kRelayAddress, 1000).size();
    EXPECT_EQ(Words(kRelayAddress, relayWords), other.Words(kRelayAddress, relayWords));
  }
};

TEST(HandOverInOneTick, WritesTheTargetThenTheRelayWordInTheTickThatReadTheRequest) {
  SimulatedSaw perWord, oneTick, failingRelayWord;
  const int ticksPerWord = perWord.Run(2, false);
  const int ticksOneTick = oneTick.Run(2, true);
  failingRelayWord.link.failRelayWords = 1;
  failingRelayWord.Run(2, true);

  oneTick.ExpectSameWordsAs(perWord);
  EXPECT_LT(ticksOneTick, ticksPerWord);
  // A relay word that fails is written later, and nothing is doubled.
  failingRelayWord.ExpectSameWordsAs(perWord);

  // Each block is followed, in its own tick, by the relay word; with a
  // tick per word the relay word comes two ticks after the request.
  const std::vector<Written> writes = oneTick.link.Writes();
  int blocks = 0;
  for (std::size_t i = 0; i + 1 < writes.size(); ++i) {
    if (writes[i].address != kTargetAddress) continue;
    ++blocks;
    EXPECT_EQ(writes[i + 1].address, kRelayAddress) << "write " << i;
    EXPECT_EQ(writes[i + 1].tick, writes[i].tick) << "write " << i;
  }
  EXPECT_GE(blocks, 8);
}

TEST(HandOverInOneTick, APlcThatRestartsAfterTheTargetBlockGetsNoStaleRelayWordAndStartsAtEntryOne) {
  testing::MemoryPlcLink plc;
  WatchedLink link{plc};
  FakeScanHost host;
  host.list = testing::MakeTestList(3);
  PlcState state;
  const std::int32_t sendNextPos = 1 << RelayBitIndex(kRelaySendNextPos);
  const auto tick = [&] { ScanTick(state, link, host, /*handOverInOneTick=*/true); };

  plc.memory[kRelayAddress] = 1 << RelayBitIndex(kRelaySetToBeginning);
  tick();
  link.ClearWrites();
  plc.memory[kRelayAddress] = sendNextPos;
  tick();  // the next entry, whole
  std::vector<Written> writes = link.Writes();
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(writes[0].address, kTargetAddress);
  EXPECT_EQ(writes[1].address, kRelayAddress);
  plc.memory[kRelayAddress] = 0;  // taken
  tick();
  plc.memory[kRelayAddress] = sendNextPos;
  link.afterTargetBlock = [&] {
    plc.memory[kRelayAddress] = 1 << RelayBitIndex(kRelaySetToBeginning);  // the PLC restarted
    ++link.reconnects;
  };
  link.ClearWrites();
  tick();  // the entry after it: its block, then the restart
  ASSERT_EQ(link.Writes().size(), 1u);
  EXPECT_EQ(link.Writes()[0].value, 3000);
  tick();
  EXPECT_EQ(state.LastHandOver.PosIndex, 1);
  writes = link.Writes();
  ASSERT_GE(writes.size(), 3u);
  EXPECT_EQ(writes[1].address, kTargetAddress);
  EXPECT_EQ(writes[1].value, 1000);
  EXPECT_EQ(writes[2].address, kRelayAddress);
}

}  // namespace
}  // namespace orl
