// The hand-over in one tick: the tick whose read sees "Send Next Pos"
// writes the target block, then the relay word, the relay word only after
// the block went through. The saw gets the same targets and relay words,
// in the same order, as with a tick per word; also when the relay word
// fails, and when the PLC restarts between the two writes.
#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "saw/plc/register_map.h"
#include "saw/plc/scan_loop.h"
#include "saw/plc/sim_plc_link.h"
#include "tests/fakes/fake_plc_link.h"
#include "tests/fakes/fake_scan_host.h"

namespace orl {
namespace {

using testing::FakeScanHost;

struct Written {
  int tick;
  int address;
  std::int32_t value;  // the target for a block, else the word
  bool operator==(const Written&) const = default;
};

// A link that notes which tick wrote what, and can fail the relay word or
// stand for a PLC that restarts just after it took a target block.
class WatchedLink final : public testing::FaultyPlcLink {
 public:
  using FaultyPlcLink::FaultyPlcLink;
  int tick = 0;
  std::vector<Written> writes;
  int failRelayWords = 0;
  std::function<void()> afterTargetBlock;

  int WriteWords(int address, std::int32_t value) override {
    if (address == kRelayAddress && failRelayWords > 0) {
      --failRelayWords;
      return 0;
    }
    writes.push_back({tick, address, value});
    return FaultyPlcLink::WriteWords(address, value);
  }
  int WriteWords(int address, const PlcWords4& words, int count) override {
    writes.push_back({tick, address, BlockTarget(words)});
    const int ok = FaultyPlcLink::WriteWords(address, words, count);
    if (afterTargetBlock) std::exchange(afterTargetBlock, nullptr)();
    return ok;
  }

 private:
  static std::int32_t BlockTarget(const PlcWords4& words) { return DecodeBcd(words[0], words[1]); }
};

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
    for (const Written& w : link.writes)
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
  const auto& writes = oneTick.link.writes;
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
  link.writes.clear();
  plc.memory[kRelayAddress] = sendNextPos;
  tick();  // the next entry, whole
  ASSERT_EQ(link.writes.size(), 2u);
  EXPECT_EQ(link.writes[0].address, kTargetAddress);
  EXPECT_EQ(link.writes[1].address, kRelayAddress);
  plc.memory[kRelayAddress] = 0;  // taken
  tick();
  plc.memory[kRelayAddress] = sendNextPos;
  link.afterTargetBlock = [&] {
    plc.memory[kRelayAddress] = 1 << RelayBitIndex(kRelaySetToBeginning);  // the PLC restarted
    ++link.reconnects;
  };
  link.writes.clear();
  tick();  // the entry after it: its block, then the restart
  ASSERT_EQ(link.writes.size(), 1u);
  EXPECT_EQ(link.writes[0].value, 3000);
  tick();
  EXPECT_EQ(state.LastHandOver.PosIndex, 1);
  ASSERT_GE(link.writes.size(), 3u);
  EXPECT_EQ(link.writes[1].address, kTargetAddress);
  EXPECT_EQ(link.writes[1].value, 1000);
  EXPECT_EQ(link.writes[2].address, kRelayAddress);
}

}  // namespace
}  // namespace orl
