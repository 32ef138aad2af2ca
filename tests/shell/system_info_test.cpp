#include "saw/shell/system_info.h"

#include <gtest/gtest.h>

#include <set>

#include "fakes/fake_ui.h"

namespace orl {
namespace {

using testing::FakeUi;
using testing::RecordedBox;

// A search path holding the given programs under /opt/bin.
FindOnPath PathHolding(std::set<std::string> programs) {
  return [programs](const std::string& name) { return programs.count(name) ? "/opt/bin/" + name : std::string(); };
}

TEST(SystemInfo, TheFirstProgramFoundInOrderOfPreferenceIsChosen) {
  EXPECT_EQ(SystemInfoProgram(PathHolding({"gnome-system-monitor", "kinfocenter", "hardinfo"})), "/opt/bin/hardinfo");
  EXPECT_EQ(SystemInfoProgram(PathHolding({"gnome-system-monitor", "kinfocenter"})), "/opt/bin/kinfocenter");
  EXPECT_EQ(SystemInfoProgram(PathHolding({"gnome-system-monitor"})), "/opt/bin/gnome-system-monitor");
  EXPECT_EQ(SystemInfoProgram(PathHolding({"htop", "msinfo32"})), std::nullopt);
}

TEST(SystemInfo, NoProgramOrAFailedStartGivesThePlainUnavailableBox) {
  const RecordedBox unavailable{kSystemInfoUnavailable, MessageIcon::None, "ORL"};
  FakeUi noneFound;
  int starts = 0;
  ShowSystemInfo(noneFound, "ORL", PathHolding({}), [&](const std::string&) { return ++starts > 0; });
  EXPECT_EQ(starts, 0);
  EXPECT_EQ(noneFound.boxes, std::vector<RecordedBox>{unavailable});

  FakeUi startFails;
  ShowSystemInfo(startFails, "ORL", PathHolding({"hardinfo"}), [](const std::string&) { return false; });
  EXPECT_EQ(startFails.boxes, std::vector<RecordedBox>{unavailable});
}

}  // namespace
}  // namespace orl
