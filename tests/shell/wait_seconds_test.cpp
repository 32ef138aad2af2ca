#include "saw/shell/wait_seconds.h"

#include <gtest/gtest.h>

#include "fakes/fake_clock.h"
#include "fakes/fake_ui.h"

namespace orl {
namespace {

TEST(WaitSeconds, WaitsTheFullTimeAcrossMidnight) {
  testing::FakeClock clock(86399.5, /*wrapAtMidnight=*/true);
  testing::FakeUi ui;
  ui.onPump = [&] { clock.Advance(0.25); };
  WaitSeconds(1, clock, ui);
  EXPECT_EQ(ui.pumps, 5);
}

}  // namespace
}  // namespace orl
