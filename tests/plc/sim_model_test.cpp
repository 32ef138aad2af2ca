// The simulated saw PLC on its own, driven the way the program drives it:
// the pusher's way to a target, the cut, the end of a run, and the
// operator's own writes.
#include <gtest/gtest.h>

#include "saw/plc/register_map.h"
#include "saw/plc/sim_plc_link.h"

namespace orl {
namespace {

class PlcSimModel : public ::testing::Test {
 protected:
  PlcSimModel() : link(Config(), clock) { link.Open(); }
  static SawSimConfig Config() {
    SawSimConfig config;
    config.speed = 10000;      // 1 m/s
    config.creepSpeed = 1000;  // 0.1 m/s
    config.cutSeconds = 0.5;
    config.endPauseSeconds = 1.0;
    return config;
  }
  std::int32_t Read(int address) {
    PlcWords2 words{};
    link.ReadWords(address, words, 1);
    return words[0];
  }
  bool Relay(int relay) { return (Read(kRelayAddress) >> RelayBitIndex(relay) & 1) != 0; }
  bool Output(int bit) { return (Read(kOutputAddress) >> bit & 1) != 0; }
  // The program's hand-over: target block, then the relay word.
  void Send(std::int32_t target, std::int32_t relays) {
    link.WriteWords(kTargetAddress, TargetBlock(target, 1000), 4);
    link.WriteWords(kRelayAddress, relays);
  }
  void Wait(double seconds) {
    for (double t = 0; t < seconds; t += 0.01) {
      clock.Advance(0.01);
      link.Model().Advance();
    }
  }
  static std::int32_t Bit(int relay) { return 1 << RelayBitIndex(relay); }

  SimClock clock;
  SimPlcLink link;
};

TEST_F(PlcSimModel, MovesSlowsCutsAndAsksForTheNext) {
  EXPECT_TRUE(Relay(700));
  Send(5000, Bit(715));
  Wait(0.1);
  EXPECT_TRUE(Output(kOutReverse));  // from 0 out to 500 mm
  EXPECT_FALSE(Output(kOutSlow));
  EXPECT_TRUE(Relay(702));
  Wait(0.35);  // 400 mm covered: inside the 100 mm creep distance
  EXPECT_TRUE(Output(kOutSlow));
  EXPECT_FALSE(Output(kOutCut));
  Wait(1.0);
  EXPECT_EQ(Read(kPositionAddress), 5000);
  EXPECT_TRUE(Output(kOutCut));
  EXPECT_FALSE(Relay(701));
  Wait(0.6);
  EXPECT_FALSE(Output(kOutCut));
  EXPECT_TRUE(Relay(710));
  EXPECT_TRUE(Relay(701));
}

TEST_F(PlcSimModel, TheLastCutEndsTheRunAndStartsTheNext) {
  Send(1000, Bit(715) | Bit(713));
  Wait(1.8);  // 1 s within the creep distance, 0.5 s cut
  EXPECT_TRUE(Output(kOutProgramEnd));
  EXPECT_FALSE(Relay(713));
  EXPECT_FALSE(Relay(700));
  Wait(1.1);
  EXPECT_FALSE(Output(kOutProgramEnd));
  EXPECT_TRUE(Relay(700));
  EXPECT_FALSE(Relay(701));
  EXPECT_FALSE(Relay(702));
  EXPECT_EQ(link.Model().RunsCompleted(), 1);
}

TEST_F(PlcSimModel, TheOperatorsOutputWriteStands) {
  link.WriteWords(kOutputAddress, 1 << 5);
  Wait(0.5);
  EXPECT_TRUE(Output(5));
  EXPECT_FALSE(link.WriteWords(1078, 1));  // no such address
}

TEST_F(PlcSimModel, TheTargetRegisterReadsBackThePlainTarget) {
  Send(24432, Bit(715));  // 2443.2 mm, BCD words 0x4432 and 0x0002
  Wait(0.05);
  EXPECT_EQ(Read(kTargetAddress), 24432);
  PlcWords2 words{};
  link.ReadWords(kTargetAddress, words, 2);
  EXPECT_EQ(words[1], 0);
  EXPECT_EQ(link.Model().TargetsTaken().back().goal, 24432);
}

TEST_F(PlcSimModel, ARequestTheProgramLeavesUnansweredReleasesProgramming) {
  Send(1000, Bit(715));
  Wait(1.8);
  ASSERT_TRUE(Relay(701) && Relay(702));
  link.WriteWords(kOutputAddress, 0);  // any write answers: the count starts again
  for (int i = 0; i < kUnansweredRelayReads - 1; ++i) Read(kRelayAddress);
  Wait(0.1);
  EXPECT_TRUE(Relay(702));  // the last read the program is given
  Wait(0.1);
  EXPECT_FALSE(Relay(702));
  EXPECT_FALSE(Relay(701));
  Wait(1.0);
  EXPECT_TRUE(Relay(700));  // starts again from the beginning
  EXPECT_EQ(link.Model().TargetsTaken().size(), 1u);
}

TEST_F(PlcSimModel, TheEndOfARunReleasesProgrammingDuringThePause) {
  Send(1000, Bit(715) | Bit(713));
  Wait(1.0);
  EXPECT_TRUE(Relay(702));
  Wait(0.8);
  ASSERT_TRUE(Output(kOutProgramEnd));
  EXPECT_FALSE(Relay(702));
}

}  // namespace
}  // namespace orl
