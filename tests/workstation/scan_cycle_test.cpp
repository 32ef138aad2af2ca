// The scan cycle's rules, whoever drives it: a tick during a transfer only
// sequences, a tick with nothing to transfer or without a transfer thread
// never reaches the PLC, a run is done only when its last cut is handed
// over and written, and the end closes the link.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "saw/plc/dig_io.h"
#include "saw/plc/register_map.h"
#include "saw/shell/machine_parameters.h"
#include "fakes/fake_plc_link.h"
#include "workstation_fixture.h"

namespace orl {
namespace {

using testing::MemoryPlcLink;

struct ScanCycleTest : testing::WorkstationFixture {
  MemoryPlcLink* plc = nullptr;

  void StartWithMemoryPlc() {
    Start(StandardSettings());
    ws->Activate();
    auto link = std::make_unique<MemoryPlcLink>();
    plc = link.get();
    ASSERT_TRUE(ws->OpenPlc(std::move(link)));
  }
  // A whole tick has read "Disable Programming" from the PLC; the list is
  // unlocked again, so only a later sequencing locks it.
  void PlcSaysDisableProgramming() {
    plc->memory[kRelayAddress] = 1 << RelayBitIndex(kRelayDisableProgramming);
    ws->ScanTick();
    ws->SetProgrammingDisabled(false);
    plc->readCalls = 0;
    plc->writes.clear();
  }
  bool Sequenced() const { return !ws->cutList().gridEnabled; }
};

TEST_F(ScanCycleTest, ATickDuringATransferOnlySequencesAndTheNextOneAfterItTransfersAgain) {
  StartWithMemoryPlc();
  PlcSaysDisableProgramming();
  plc->memory[kInputAddress] = 0x05;
  ScanCycle& cycle = ws->scanCycle();

  const auto plan = cycle.BeginTick(/*transferThread=*/true);
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->kind, TransferKind::Read);
  EXPECT_TRUE(cycle.TransferInFlight());
  EXPECT_FALSE(Sequenced());  // the relays are answered when the transfer is back

  ws->DigIOClicked(3, kOutputsColumn);  // a click would plan a write, but no second transfer starts
  EXPECT_FALSE(cycle.BeginTick(true));
  EXPECT_FALSE(cycle.BeginTick(true));
  EXPECT_TRUE(Sequenced());
  EXPECT_TRUE(cycle.TransferInFlight());
  EXPECT_EQ(plc->readCalls, 0);

  cycle.FinishTick(*plan, Transfer(*ws->link(), *plan));
  EXPECT_FALSE(cycle.TransferInFlight());
  EXPECT_EQ(ws->plc().InputImage, 0x05);
  EXPECT_EQ(ws->plc().CmAtvty, " ");
  const auto next = cycle.BeginTick(true);
  ASSERT_TRUE(next);
  EXPECT_EQ(next->kind, TransferKind::WriteOutput);
}

TEST_F(ScanCycleTest, WithNothingToTransferOrNoTransferThreadATickIsDoneAtOnceWithoutThePlc) {
  StartWithMemoryPlc();
  ScanCycle& cycle = ws->scanCycle();
  PlcSaysDisableProgramming();
  ws->DigIOClicked(3, kOutputsColumn);

  // No transfer thread: the relays are answered, the pending word waits.
  EXPECT_FALSE(cycle.BeginTick(/*transferThread=*/false));
  EXPECT_TRUE(Sequenced());
  EXPECT_FALSE(cycle.TransferInFlight());
  EXPECT_TRUE(plc->writes.empty());
  EXPECT_EQ(plc->readCalls, 0);
  EXPECT_GE(ws->plc().OutputWrite, 0);

  // A closed link: nothing to transfer, and the tick is over.
  ws->SetProgrammingDisabled(false);
  plc->open = false;
  EXPECT_FALSE(cycle.BeginTick(true));
  EXPECT_TRUE(Sequenced());
  EXPECT_FALSE(cycle.TransferInFlight());
  EXPECT_TRUE(plc->writes.empty());

  // Once scanning has ended a tick does nothing at all.
  ui.onPump = [&] { clock.Advance(0.1); };
  ws->End();
  plc->open = true;
  ws->SetProgrammingDisabled(false);
  EXPECT_FALSE(cycle.BeginTick(true));
  ws->ScanTick();
  EXPECT_FALSE(Sequenced());
  EXPECT_TRUE(plc->writes.empty());
}

TEST_F(ScanCycleTest, ARunIsDoneOnlyOnceItsLastCutIsHandedOverAndWritten) {
  folder.Write("Programs/job", "Run,True\r\n\r\n1319.6\r\n500,2\r\n300,1\r\n");
  Start(StandardSettings("Mode=ABSOLUTE\nCreepDist=50"));
  ws->Activate();
  ASSERT_TRUE(ws->OpenPlc(/*simulate=*/true));
  ASSERT_TRUE(ws->ProgramClicked("job"));
  ScanCycle& cycle = ws->scanCycle();
  std::vector<std::int32_t> handedOver;
  std::uint64_t seen = 0;
  bool doneBeforeWritten = false;
  for (int tick = 0; tick < 400 && !cycle.RunDone(); ++tick) {
    cycle.Tick();
    clock.Advance(kDefaultScanIntervalMs / 1000.0);
    if (ws->plc().HandOvers == seen) continue;
    seen = ws->plc().HandOvers;
    handedOver.push_back(ws->plc().LastHandOver.entry.Target);
    // The tick that hands over the last cut has written neither its target nor its relays.
    doneBeforeWritten = doneBeforeWritten || cycle.RunDone();
  }
  EXPECT_TRUE(cycle.RunDone());
  EXPECT_FALSE(doneBeforeWritten);
  EXPECT_EQ(handedOver, (std::vector<std::int32_t>{13228, 8196, 3164, 132}));
  EXPECT_EQ(ws->plc().RelayWrite, kNothingPending);
  EXPECT_LE(ws->plc().TargetWrite, 0);
  EXPECT_TRUE(ui.boxes.empty());
  ui.onPump = [&] { clock.Advance(0.1); };
  ws->End();
  EXPECT_FALSE(ws->link()->LinkOpen());
}

TEST_F(ScanCycleTest, SomethingToCutIsTheWorkstationsListAndOnlyATrial) {
  folder.Write("Programs/head", "Head only,True\r\n\r\n1319.6\r\n");
  folder.Write("Programs/job", "Run,True\r\n\r\n1319.6\r\n500,2\r\n300,1\r\n");
  Start(StandardSettings("Mode=ABSOLUTE"));
  ws->Activate();
  ScanCycle& cycle = ws->scanCycle();

  ASSERT_TRUE(ws->ProgramClicked("head"));
  EXPECT_FALSE(cycle.SomethingToCut());  // a board's head entry alone is never handed over

  ASSERT_TRUE(ws->ProgramClicked("job"));
  EXPECT_TRUE(cycle.SomethingToCut());
  EXPECT_EQ(ws->RunningPos(), 0);

  // A list over the limit is the workstation's to refuse, with its warning.
  ws->MacParCellEdited(kSawKerfRow, 1, "0.0001");
  ws->CutListCellEdited(4, 3, "999");  // ten million groove strokes
  EXPECT_FALSE(cycle.SomethingToCut());
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_NE(ui.boxes[0].text.find("more than 2000000 saw positions"), std::string::npos);
  EXPECT_EQ(ws->RunningPos(), 0);
}

// A PLC whose every transfer takes a few milliseconds.
struct SlowMemoryLink final : MemoryPlcLink {
  void BeginTransfer() override { std::this_thread::sleep_for(std::chrono::milliseconds(5)); }
};

TEST_F(ScanCycleTest, TheIntervalIsTheSettingsRaisedOnceATickIsSeenToTakeLonger) {
  Start(StandardSettings("ScanIntervalMs=2\nMaxLogLen=20"));
  ws->Activate();
  ASSERT_TRUE(ws->OpenPlc(std::make_unique<SlowMemoryLink>()));
  EXPECT_EQ(ws->scanCycle().IntervalMs(), 2);
  ws->ScanTick();
  const int raised = ws->scanCycle().IntervalMs();
  EXPECT_GE(raised, 5);
  ASSERT_FALSE(ws->plc().log.Lines().empty());
  EXPECT_NE(ws->plc().log.Lines().back().find(IntervalRaisedText(2, raised)), std::string::npos);
}

}  // namespace
}  // namespace orl
