// The whole saw cycle against the simulated PLC in virtual time: every
// target arrives once and in order, also across a PLC that stops answering.
#include <gtest/gtest.h>

#include <algorithm>

#include "saw/plc/operator_requests.h"
#include "saw/plc/register_map.h"
#include "saw/plc/scan_loop.h"
#include "saw/plc/sim_plc_link.h"
#include "tests/fakes/fake_plc_link.h"
#include "tests/fakes/fake_scan_host.h"

namespace orl {
namespace {

using testing::FakeScanHost;
using testing::FaultyPlcLink;

class PlcSimCycle : public ::testing::TestWithParam<bool> {
 protected:
  PlcSimCycle() : sim(Config(), clock), faulty(sim) {
    host.list = testing::ExampleBoardList(GetParam());
    sim.Open();
  }
  static SawSimConfig Config() {
    SawSimConfig config;
    config.absolute = GetParam();
    return config;
  }
  void Tick() {
    ScanTick(state, faulty, host);
    clock.Advance(0.3);
  }
  std::vector<std::int32_t> Goals() const {
    std::vector<std::int32_t> goals;
    for (const auto& t : sim.Model().TargetsTaken()) goals.push_back(t.goal);
    return goals;
  }

  SimClock clock;
  SimPlcLink sim;
  FaultyPlcLink faulty;
  FakeScanHost host;
  PlcState state;
};

TEST_P(PlcSimCycle, RunsTheWholeListAndStartsTheNextRun) {
  for (int i = 0; i < 200 && sim.Model().RunsCompleted() < 2; ++i) Tick();
  ASSERT_EQ(sim.Model().RunsCompleted(), 2);
  const std::vector<std::int32_t> run{13228, 8196, 3164, 132};
  std::vector<std::int32_t> twice = run;
  twice.insert(twice.end(), run.begin(), run.end());
  EXPECT_EQ(Goals(), twice);
  EXPECT_TRUE(sim.Model().TargetsTaken()[0].newBoard);
  EXPECT_TRUE(sim.Model().TargetsTaken()[3].lastCut);
  EXPECT_FALSE(sim.Model().TargetsTaken()[4].lastCut);
  EXPECT_EQ(host.advBooksCalls, 2);  // once per finished run
  EXPECT_EQ(state.POS, "13.2");
}

TEST_P(PlcSimCycle, APlcThatStopsAnsweringLosesAndRepeatsNothing) {
  // Silence the link at a different moment of the handshake each time.
  for (int outageAt : {3, 5, 6, 7, 9, 11}) {
    for (int i = 0; i < outageAt; ++i) Tick();
    faulty.drop = true;
    for (int i = 0; i < 7; ++i) Tick();
    faulty.drop = false;
    faulty.timeOut = true;
    for (int i = 0; i < 3; ++i) Tick();
    faulty.timeOut = false;
  }
  for (int i = 0; i < 400 && sim.Model().RunsCompleted() < 3; ++i) Tick();
  ASSERT_GE(sim.Model().RunsCompleted(), 3);
  const auto goals = Goals();
  const std::vector<std::int32_t> run{13228, 8196, 3164, 132};
  for (std::size_t i = 0; i < 12; ++i) EXPECT_EQ(goals[i], run[i % 4]) << "target " << i;
}

TEST_P(PlcSimCycle, ManualPositionBetweenRuns) {
  for (int i = 0; i < 200 && sim.Model().RunsCompleted() < 1; ++i) Tick();
  // The next run waits for its first target; a manual position is taken
  // only once the PLC asks, which it does after the run's first cut.
  state.manual.ManPos = "250";
  ManSndClick(state);
  for (int i = 0; i < 100 && state.ManualSend; ++i) Tick();
  for (int i = 0; i < 40; ++i) Tick();
  const auto& taken = sim.Model().TargetsTaken();
  ASSERT_GE(taken.size(), 6u);
  EXPECT_TRUE(taken[5].manual);
  EXPECT_EQ(taken[5].goal, 2500);
}

TEST_P(PlcSimCycle, AListWithNothingToCutLeavesTheCutListFree) {
  host.list = testing::MakeTestList(1);  // a board's head and no cut
  for (int i = 0; i < 60; ++i) Tick();
  EXPECT_GT(host.makeCalls, 1);  // asked again after each pause
  EXPECT_TRUE(sim.Model().TargetsTaken().empty());
  EXPECT_EQ(std::count(host.programmingDisabled.begin(), host.programmingDisabled.end(), true), 0);
}

TEST_P(PlcSimCycle, AManualPositionEndsTheListAndFreesTheCutList) {
  for (int i = 0; i < 100 && sim.Model().TargetsTaken().size() < 2; ++i) Tick();
  state.manual.ManPos = "250";
  ManSndClick(state);
  for (int i = 0; i < 100 && !sim.Model().TargetsTaken().back().manual; ++i) Tick();
  ASSERT_TRUE(sim.Model().TargetsTaken().back().manual);
  const std::size_t before = host.programmingDisabled.size();
  for (int i = 0; i < 40 && host.programmingDisabled.back(); ++i) Tick();
  EXPECT_FALSE(host.programmingDisabled.back());
  EXPECT_GT(host.programmingDisabled.size(), before);
  // After the pause the saw asks for the list from its beginning.
  for (int i = 0; i < 40 && sim.Model().TargetsTaken().back().manual; ++i) Tick();
  EXPECT_EQ(sim.Model().TargetsTaken().back().goal, 13228);
}

INSTANTIATE_TEST_SUITE_P(Modes, PlcSimCycle, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Absolute" : "Relative"; });

}  // namespace
}  // namespace orl
