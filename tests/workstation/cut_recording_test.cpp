// What the saw's production record holds after runs of the simulated saw:
// one record per hand-over the PLC took, with the cell as the operator
// typed it, and a saw that waits for its records rather than outrun them.
#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/fake_plc_link.h"
#include "optimizer/pattern_builder.h"
#include "saw/plc/register_map.h"
#include "saw/plc/sim_plc_link.h"
#include "workstation_fixture.h"

namespace orl {
namespace {

struct FakeRecorder : Recorder {
  std::vector<CutRecord> records;
  bool caughtUp = true;
  std::vector<SawState> states;
  void Record(CutRecord record) override { records.push_back(std::move(record)); }
  bool CaughtUp() const override { return caughtUp; }
  void StateChanged(const SawState& state) override { states.push_back(state); }
  std::vector<std::string> Housekeep() override { return {"History cannot be written: test"}; }
};

// The simulated saw behind a line whose writes can be dropped.
struct SimHolder {
  explicit SimHolder(const Clock& clock) : sim(SawSimConfig{}, clock) {}
  SimPlcLink sim;
};
struct DroppingSim : SimHolder, testing::FaultyPlcLink {
  explicit DroppingSim(const Clock& clock) : SimHolder(clock), FaultyPlcLink(sim) {}
  bool dropRelayWord = false;
  int WriteWords(int address, std::int32_t value) override {
    if (dropRelayWord && address == kRelayAddress) return 0;
    return FaultyPlcLink::WriteWords(address, value);
  }
};

struct CutRecordingTest : testing::WorkstationFixture {
  FakeRecorder* recorder = nullptr;
  DroppingSim* line = nullptr;

  void StartWithProgram(const std::string& program) {
    folder.Write("Programs/three", program);
    Start(StandardSettings("Mode=ABSOLUTE\nMaxLogLen=50"));
    ws->Activate();
    auto link = std::make_unique<DroppingSim>(clock);
    line = link.get();
    ASSERT_TRUE(ws->OpenPlc(std::move(link)));
    auto owned = std::make_unique<FakeRecorder>();
    recorder = owned.get();
    ws->AttachRecorder(std::move(owned));
    ASSERT_TRUE(ws->ProgramClicked("three"));
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      ws->ScanTick();
      clock.Advance(0.3);
    }
  }
  std::vector<CutRecord> Cuts() const {
    std::vector<CutRecord> cuts;
    for (const CutRecord& r : recorder->records)
      if (r.kind == CutKind::Cut) cuts.push_back(r);
    return cuts;
  }
};

constexpr const char* kThreeGroups = "Three,True\r\n\r\n1000,,,,,,900,,,,,,800\r\n100,1,,,,,200,1,,,,,300,1\r\n";

TEST_F(CutRecordingTest, EveryHandOverThePlcTookIsRecordedOnceInOrderWithTheCellAsTyped) {
  StartWithProgram(kThreeGroups);
  line->dropRelayWord = true;
  Ticks(30);
  EXPECT_GE(ws->plc().HandOvers, 1u);
  EXPECT_TRUE(Cuts().empty()) << "a hand-over whose relay word the PLC never took";
  line->dropRelayWord = false;
  Ticks(120);
  ASSERT_FALSE(recorder->records.empty());
  EXPECT_EQ(recorder->records.front().kind, CutKind::Restart);
  const std::vector<CutRecord> cuts = Cuts();
  ASSERT_GE(cuts.size(), 6u);
  const std::vector<std::int32_t> targets = {10032, 9000, 9032, 7000, 8032, 5000};
  const std::vector<std::string> typed = {"1000", "100", "900", "200", "800", "300"};
  for (std::size_t i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(cuts[i].target, targets[i]);
    EXPECT_EQ(cuts[i].length, typed[i]);
    EXPECT_EQ(cuts[i].unit, "mm");
    EXPECT_EQ(cuts[i].group, static_cast<int>(i / 2 + 1));
    EXPECT_EQ(cuts[i].newBoard, i % 2 == 0);
    EXPECT_EQ(cuts[i].program, "three");
    EXPECT_EQ(cuts[i].description, "Three");
  }
  // The plant saw the program and the group being cut.
  ASSERT_FALSE(recorder->states.empty());
  EXPECT_EQ(recorder->states.back().program, "three");
  EXPECT_TRUE(recorder->states.back().plcUp);
  EXPECT_GE(recorder->states.back().group, 1);
}

TEST_F(CutRecordingTest, TheSawWaitsForTheLastRecordToBeCommitted) {
  StartWithProgram(kThreeGroups);
  Ticks(15);
  const std::uint64_t handed = ws->plc().HandOvers;
  ASSERT_GE(handed, 1u);
  recorder->caughtUp = false;
  Ticks(40);
  EXPECT_LE(ws->plc().HandOvers, handed + 1);  // the one already asked for at most
  const std::uint64_t held = ws->plc().HandOvers;
  Ticks(40);
  EXPECT_EQ(ws->plc().HandOvers, held);
  recorder->caughtUp = true;
  Ticks(40);
  EXPECT_GT(ws->plc().HandOvers, held);
}

TEST_F(CutRecordingTest, APatternsLabelsAndAManualPositionAreRecorded) {
  StartWithProgram(kThreeGroups);
  test::PatternBuilder b(2440, 1220);
  const std::string_view bookLabels[] = {"", "book A", "book B"};
  b.board.BookLabels = bookLabels;
  b.Cut(1, 600, true, 1, "shelf").Cut(2, 400, false, 1, "door");
  b.model.PatBooks = {{}, {0, 3, 2}};
  ws->PatternsRead(std::move(b.model));
  ui.yesNoAnswers.push_back(true);
  ASSERT_TRUE(ws->LoadPatternClicked());
  ws->ChooseColumnsForRun(1, 1);
  Ticks(60);
  const std::vector<CutRecord> cuts = Cuts();
  EXPECT_TRUE(std::any_of(cuts.begin(), cuts.end(), [](auto& c) { return c.part == "shelf" && c.book == "book A"; }));

  const std::vector<CutRecord>& records = recorder->records;
  const std::size_t before = records.size();
  ws->ManualPositionEdited("123.4");
  ws->ManualSendClicked();
  Ticks(30);
  const auto manual = std::find_if(records.begin() + before, records.end(),
                                   [](const CutRecord& r) { return r.kind == CutKind::Manual; });
  ASSERT_NE(manual, records.end());
  EXPECT_EQ(manual->length, "123.4");
  EXPECT_EQ(manual->unit, "mm");
  EXPECT_EQ(manual->target, 1234);

  ws->HousekeepingTick();
  EXPECT_TRUE(ws->plc().log.Lines().back().ends_with("History cannot be written: test"));
}

}  // namespace
}  // namespace orl
