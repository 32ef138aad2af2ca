// The workstation with its PLC link: start-up opening the port, and the
// cut list locked while the PLC disables programming.
#include <gtest/gtest.h>

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

TEST_F(WorkstationFixture, DisableProgrammingLocksTheCutListControls) {
  Start(StandardSettings());
  ws->Activate();
  ws->CutListCellEdited(4, 3, "5");  // a groove keeps "Grooving" ticked and locked once enabled again
  ws->SetProgrammingDisabled(true);
  EXPECT_FALSE(ws->cutList().gridEnabled);
  EXPECT_FALSE(ws->cutList().SaveBtn.enabled);
  EXPECT_FALSE(ws->File1().enabled);
  EXPECT_FALSE(ws->cutList().Grv.enabled);
  ws->SetProgrammingDisabled(false);
  EXPECT_TRUE(ws->cutList().gridEnabled);
  EXPECT_TRUE(ws->cutList().UnitFrame.enabled);
  EXPECT_EQ(ws->cutList().Grv.value, 1);
  EXPECT_FALSE(ws->cutList().Grv.enabled);
}

}  // namespace
}  // namespace orl
