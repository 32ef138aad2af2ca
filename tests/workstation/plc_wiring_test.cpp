// The workstation with its PLC link: start-up opening the port, the whole
// saw cycle against the in-process simulated PLC, and the end closing it.
#include <gtest/gtest.h>

#include "saw/plc/register_map.h"
#include "workstation_fixture.h"

namespace orl {
namespace {

using testing::RecordedBox;
using testing::WorkstationFixture;

TEST_F(WorkstationFixture, PortThatCannotOpenEndsStartUpWithItsBox) {
  Start(StandardSettings("CommPort=2\nCommDevice=" + folder.File("no-such-tty")));
  EXPECT_FALSE(ws->OpenPlc(/*simulate=*/false));
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{"Comm Port2 is already in use.", MessageIcon::Exclamation, "Alert"}}));
}

TEST_F(WorkstationFixture, AnInvalidPlcHostEndsStartUpWithABoxNamingIt) {
  Start(StandardSettings("PlcHost=:::"));
  EXPECT_FALSE(ws->OpenPlc(/*simulate=*/false));
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{"PlcHost \":::\" is not a valid host[:port].", MessageIcon::Exclamation, "Alert"}}));
}

TEST_F(WorkstationFixture, WholeRunAgainstTheSimulatedPlc) {
  folder.Write("Programs/job", "Run,True\r\n\r\n1319.6\r\n500,2\r\n300,1\r\n");
  Start(StandardSettings("Mode=ABSOLUTE\nCreepDist=50"));
  ws->Activate();
  ASSERT_TRUE(ws->OpenPlc(/*simulate=*/true));
  ASSERT_TRUE(ws->ProgramClicked("job"));
  std::vector<std::int32_t> handedOver;
  std::uint64_t seen = 0;
  for (int tick = 0; tick < 400 && handedOver.size() < 4; ++tick) {
    ws->ScanTick();
    clock.Advance(0.3);
    if (ws->plc.HandOvers != seen) {
      seen = ws->plc.HandOvers;
      handedOver.push_back(ws->plc.LastHandOver.entry.Target);
    }
  }
  EXPECT_EQ(handedOver, (std::vector<std::int32_t>{13228, 8196, 3164, 132}));
  EXPECT_TRUE(ui.boxes.empty());
  ui.onPump = [&] { clock.Advance(0.1); };
  ws->End();
  EXPECT_FALSE(ws->link->LinkOpen());
}

TEST_F(WorkstationFixture, DisableProgrammingLocksTheCutListControls) {
  Start(StandardSettings());
  ws->Activate();
  ws->cutList.grid.SetText(4, 3, "5");  // a groove keeps "Grooving" ticked and locked once enabled again
  ws->SetProgrammingDisabled(true);
  EXPECT_FALSE(ws->cutList.gridEnabled);
  EXPECT_FALSE(ws->cutList.SaveBtn.enabled);
  EXPECT_FALSE(ws->File1.enabled);
  EXPECT_FALSE(ws->cutList.Grv.enabled);
  ws->SetProgrammingDisabled(false);
  EXPECT_TRUE(ws->cutList.gridEnabled);
  EXPECT_TRUE(ws->cutList.UnitFrame.enabled);
  EXPECT_EQ(ws->cutList.Grv.value, 1);
  EXPECT_FALSE(ws->cutList.Grv.enabled);
}

// The desktop program runs the transfer elsewhere: a click on an output
// while the relay word is being written stays pending, and ticks that only
// sequence still hand over the next target.
TEST_F(WorkstationFixture, SplitTickKeepsAClickMadeDuringTheTransfer) {
  folder.Write("Programs/job", "Run,True\r\n\r\n1319.6\r\n500,2\r\n300,1\r\n");
  Start(StandardSettings("Mode=ABSOLUTE"));
  ws->Activate();
  ASSERT_TRUE(ws->OpenPlc(/*simulate=*/true));
  ws->ScanTick();  // reads the images
  ws->DigIOClicked(3, kOutputsColumn);
  const TransferPlan plan = ws->PrepareScan();
  ASSERT_EQ(plan.kind, TransferKind::WriteOutput);
  const TransferResult result = Transfer(*ws->link, plan);
  ws->plc.OutputWrite = plan.value ^ 1;  // a second click while the word was on its way
  ws->ApplyScan(plan, result);
  EXPECT_EQ(ws->plc.OutputWrite, plan.value ^ 1);

  ASSERT_TRUE(ws->ProgramClicked("job"));
  SetRelayBit(ws->plc, 700, true);  // "Set To Beginning" as last read
  ws->SequenceScan();  // a tick during a transfer only sequences
  EXPECT_GT(ws->plc.positions.size(), 2u);
  EXPECT_FALSE(RelayBit(ws->plc, 700));
}

}  // namespace
}  // namespace orl
