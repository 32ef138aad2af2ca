#include "saw/shell/user_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

#include "fakes/temp_folder.h"
#include "saw/shell/orl_settings.h"

namespace orl {
namespace {
namespace fs = std::filesystem;

// An installed layout below a temporary prefix, and a home folder beside it;
// the variables the lookup reads are set for the test and restored after.
class InstalledSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", kSettingsFolderVariable}) {
      const char* value = std::getenv(name);
      saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
      ::unsetenv(name);
    }
    ::setenv("HOME", temp_.File("home").c_str(), 1);
    temp_.Write("usr/bin/orl", "");
    temp_.Write("usr/share/orl/examples/ORL.INI",
                "[Configuration]\nSawKerf=3.2\n[System]\nJobPath=Jobs\nProgramPath=/srv/programs\n"
                "PrintPath=labels.txt\nArdisPath=Jobs\n");
    temp_.Write("usr/share/orl/examples/Jobs/kitchen/part.csv", "1,2\n");
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
  }

  std::string Installed() const { return temp_.File("usr/bin"); }
  // The folder both programs choose, with what they wrote on standard error.
  std::string Choose(std::string_view commandLineFolder, std::string& told) const {
    ::testing::internal::CaptureStderr();
    std::string folder = ChosenSettingsFolder(Installed(), commandLineFolder);
    told = ::testing::internal::GetCapturedStderr();
    return folder;
  }

  orl::testing::TempFolder temp_;

 private:
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST_F(InstalledSettings, OnlyAProgramWithExamplesBesideItsBinFolderCountsAsInstalled) {
  EXPECT_EQ(InstalledExamplesFolder(Installed()), temp_.Path() / "usr/share/orl/examples");
  EXPECT_EQ(InstalledExamplesFolder(temp_.File("build/saw/ui")), fs::path());
  temp_.Write("build/saw/ui/orl", "");
  EXPECT_EQ(ChosenSettingsFolder(temp_.File("build/saw/ui"), ""), temp_.File("build/saw/ui") + "/");
  EXPECT_FALSE(fs::exists(temp_.Path() / "home/.config"));
}

TEST_F(InstalledSettings, FirstStartCopiesTheExamplesIntoTheHomeFoldersAndSaysSoOnce) {
  std::string told;
  const std::string home = temp_.File("home");
  EXPECT_EQ(Choose("", told), home + "/.config/orl/");
  EXPECT_EQ(temp_.Read("home/.config/orl/ORL.INI"),
            "[Configuration]\nSawKerf=3.2\n[System]\nJobPath=" + home + "/.local/share/orl/Jobs\n"
            "ProgramPath=/srv/programs\nPrintPath=" + home + "/.local/share/orl/labels.txt\n"
            "ArdisPath=" + home + "/.local/share/orl/Jobs\n");
  EXPECT_EQ(temp_.Read("home/.local/share/orl/Jobs/kitchen/part.csv"), "1,2\n");
  EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;
  EXPECT_NE(told.find(home + "/.config/orl/ORL.INI"), std::string::npos) << told;

  // Later starts keep what the user changed.
  temp_.Write("home/.config/orl/ORL.INI", "[System]\nJobPath=/mnt/jobs\n");
  EXPECT_EQ(Choose("", told), home + "/.config/orl/");
  EXPECT_EQ(temp_.Read("home/.config/orl/ORL.INI"), "[System]\nJobPath=/mnt/jobs\n");
  EXPECT_EQ(told, "");
}

TEST_F(InstalledSettings, AbsoluteXdgFoldersWinOverTheHomeFolderRelativeOnesDoNot) {
  std::string told;
  ::setenv("XDG_CONFIG_HOME", temp_.File("config").c_str(), 1);
  ::setenv("XDG_DATA_HOME", temp_.File("data").c_str(), 1);
  EXPECT_EQ(Choose("", told), temp_.File("config") + "/orl/");
  EXPECT_TRUE(fs::exists(temp_.Path() / "data/orl/Jobs/kitchen/part.csv"));

  ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
  EXPECT_EQ(UserSettingsFolder(), temp_.Path() / "home/.config/orl");
}

TEST_F(InstalledSettings, CommandLineAndVariableStillWinAndSeedNothing) {
  std::string told;
  EXPECT_EQ(Choose("/srv/saw2", told), "/srv/saw2/");
  ::setenv(kSettingsFolderVariable, "/etc/orl", 1);
  EXPECT_EQ(Choose("", told), "/etc/orl/");
  EXPECT_EQ(told, "");
  EXPECT_FALSE(fs::exists(temp_.Path() / "home/.config"));
}

TEST_F(InstalledSettings, AFolderThatCannotBeWrittenIsReportedAndStillChosen) {
  std::string told;
  temp_.Write("home/.config", "a file where the folder should be");
  EXPECT_EQ(Choose("", told), temp_.File("home") + "/.config/orl/");
  EXPECT_NE(told.find("Cannot set up the settings"), std::string::npos) << told;
}

}  // namespace
}  // namespace orl
