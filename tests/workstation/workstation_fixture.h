#pragma once
// A workstation started on a settings file in a temporary folder.
#include <memory>
#include <string>

#include "fakes/fake_clock.h"
#include "fakes/fake_ui.h"
#include "fakes/temp_folder.h"
#include "saw/workstation/workstation.h"

namespace orl::testing {

// The real file system, with removable media a test plugs in and pulls.
struct PluggableFileSystem : RealFileSystem {
  std::vector<std::string> plugged;  // mount points besides the machine's own
  std::vector<std::string> MountPoints() const override {
    std::vector<std::string> mounts = RealFileSystem::MountPoints();
    mounts.insert(mounts.end(), plugged.begin(), plugged.end());
    return mounts;
  }
};

struct WorkstationFixture : ::testing::Test {
  TempFolder folder;
  FakeUi ui;
  PluggableFileSystem fileSystem;
  FakeClock clock;
  std::unique_ptr<Workstation> ws;

  // Settings text with Programs and Jobs folders that exist.
  std::string StandardSettings(const std::string& configuration = "") {
    std::filesystem::create_directories(folder.Path() / "Programs");
    std::filesystem::create_directories(folder.Path() / "Jobs");
    return "[Configuration]\nSawKerf=3.2\nHeadCut=10\n" + configuration + "\n[System]\nJobPath=" + folder.Folder() +
           "Jobs\nProgramPath=" + folder.Folder() + "Programs\nRemovablePath=" + folder.Folder() + "media\n";
  }

  void Start(const std::string& settingsText) {
    folder.Write("ORL.INI", settingsText);
    ws = std::make_unique<Workstation>(ui, fileSystem, clock);
    ws->StartUp(folder.Path() / "ORL.INI");
  }
};

}  // namespace orl::testing
