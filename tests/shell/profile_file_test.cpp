#include "saw/shell/profile_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "fakes/temp_folder.h"

namespace orl {
namespace {

TEST(ProfileFile, MissingFileReadsEmptyAndIsNotCreated) {
  testing::TempFolder folder;
  ProfileFile settings(folder.Path() / "ORL.INI");
  EXPECT_EQ(settings.ReadSetting("Configuration", "CommPort"), "");
  EXPECT_FALSE(std::filesystem::exists(settings.Path()));
}

TEST(ProfileFile, ReadsValuesTheProfileWay) {
  testing::TempFolder folder;
  const std::string longValue(4095, 'x');
  folder.Write("ORL.INI", "[Configuration]\r\nCommPort = 2\r\nMode=END.-\r\nEmpty=\r\nLong=" + longValue +
                              "\r\n[System]\r\nJobPath=C:\\JOBS\\\r\n");
  ProfileFile settings(folder.Path() / "ORL.INI");
  EXPECT_EQ(settings.ReadSetting("Configuration", "CommPort"), "2");
  EXPECT_EQ(settings.ReadSetting("configuration", "commport"), "2");  // names ignore letter case
  EXPECT_EQ(settings.ReadSetting("Configuration", "Mode"), "");       // the missing-key marker
  EXPECT_EQ(settings.ReadSetting("Configuration", "Empty"), "");
  EXPECT_EQ(settings.ReadSetting("Configuration", "Long"), longValue);  // whole, never cut
  EXPECT_EQ(settings.ReadSetting("System", "JobPath"), "C:\\JOBS\\");
  EXPECT_EQ(settings.ReadSetting("System", "Missing"), "");
}

TEST(ProfileFile, WriteCreatesAndKeepsOtherKeys) {
  testing::TempFolder folder;
  ProfileFile settings(folder.Path() / "ORL.INI");
  EXPECT_TRUE(settings.WriteSetting("Configuration", "SawKerf", "3.2"));
  EXPECT_TRUE(settings.WriteSetting("System", "JobPath", "/jobs"));
  EXPECT_TRUE(settings.WriteSetting("Configuration", "SawKerf", "4"));
  EXPECT_EQ(settings.ReadSetting("Configuration", "SawKerf"), "4");
  EXPECT_EQ(settings.ReadSetting("System", "JobPath"), "/jobs");
}

TEST(ProfileFile, DuplicatesAndQuotesReadAsPrivateProfilesDo) {
  const std::string text = "[System]\nJobPath=\"/jobs/a b\"\nJobPath=/second\n[System]\nArdisPath = \"\"x\"\" \n";
  EXPECT_EQ(ProfileValue(text, "system", "JOBPATH"), "/jobs/a b");  // the first of two keys, one pair of quotes off
  EXPECT_EQ(ProfileValue(text, "System", "ArdisPath"), "\"x\"");   // found in the repeated section
  EXPECT_EQ(ProfileValue("\xEF\xBB\xBF[System]\nJobPath=/j\n", "System", "JobPath"), "/j");
}

TEST(ProfileFile, AWriteChangesOnlyTheLineOfItsKey) {
  const std::string text =
      "; the operator's notes\r\n[Configuration]\r\nSawKerf = 3.2 \r\nUnknown line\r\n\r\n"
      "[System]\r\nJobPath=/jobs\r\n[Configuration]\r\nSawKerf=9\r\n";
  EXPECT_EQ(WithProfileValue(text, "configuration", "sawkerf", "4"),
            "; the operator's notes\r\n[Configuration]\r\nSawKerf = 4\r\nUnknown line\r\n\r\n"
            "[System]\r\nJobPath=/jobs\r\n[Configuration]\r\nSawKerf=9\r\n");
  // A new key joins the first section of its name, after its last line.
  EXPECT_EQ(WithProfileValue(text, "Configuration", "HeadCut", "10"),
            "; the operator's notes\r\n[Configuration]\r\nSawKerf = 3.2 \r\nUnknown line\r\nHeadCut=10\r\n\r\n"
            "[System]\r\nJobPath=/jobs\r\n[Configuration]\r\nSawKerf=9\r\n");
  EXPECT_EQ(WithProfileValue("[A]\nx=1", "B", "y", "2"), "[A]\nx=1\n[B]\ny=2\n");
}

// The in-place route stopped before each of its steps, as a kill would
// stop it: the file then reads as the old text or the new one, never as a
// mixture. Values that shrink, grow, a new key and a file without a final
// line end.
TEST(ProfileFile, AnInPlaceRewriteStoppedAnywhereLeavesTheOldOrTheNewText) {
  struct Change {
    std::string old, section, key, value;
  };
  const std::vector<Change> changes = {
      {"[System]\r\nJobPath=/a/long/old/folder\r\n[Configuration]\r\nSawKerf=3.2\r\n", "System", "JobPath", "/j"},
      {"[System]\nJobPath=/j\n[Configuration]\nSawKerf=3.2\n", "System", "JobPath", "/a/much/longer/folder"},
      {"[System]\nJobPath=/j\n[Configuration]\nSawKerf=3.2", "Configuration", "HeadCut", "10"},
      {"[System]\nJobPath=/jobs/of/today\n[Configuration]\nSawKerf=3.2", "Configuration", "SawKerf", "4"},
  };
  const std::vector<std::pair<std::string, std::string>> keys = {
      {"System", "JobPath"}, {"Configuration", "SawKerf"}, {"Configuration", "HeadCut"}};
  for (const Change& change : changes) {
    const std::string text = WithProfileValue(change.old, change.section, change.key, change.value);
    for (int stopAt = 0; stopAt <= 2; ++stopAt) {
      SCOPED_TRACE(change.old + " / stopped before step " + std::to_string(stopAt));
      testing::TempFolder folder;
      const auto file = folder.Write("ORL.INI", change.old);
      int step = 0;
      const bool done = RewriteProfileInPlace(file, text, [&] { return step++ < stopAt; });
      EXPECT_EQ(done, stopAt == 2);
      const std::string after = folder.Read("ORL.INI");
      const bool isNew = after.starts_with(text) && after.find_first_not_of(" \n", text.size()) == std::string::npos;
      EXPECT_TRUE(after == change.old || isNew) << after;
      EXPECT_EQ(after.size(), isNew ? std::max(change.old.size(), text.size()) : change.old.size());  // never cut
      for (const auto& [section, key] : keys)
        EXPECT_EQ(ProfileValue(after, section, key), ProfileValue(isNew ? text : change.old, section, key)) << key;
    }
  }
}

// Later writes into a padded file: a key added to the last section, a new
// section.
TEST(ProfileFile, ThePaddingOfAnEarlierRewriteReadsAsNothing) {
  const std::string padded = InPlaceProfileText("[A]\nx=1\n", 30);
  EXPECT_EQ(ProfileValue(WithProfileValue(padded, "A", "y", "2"), "A", "y"), "2");
  EXPECT_EQ(WithProfileValue(padded, "B", "z", "3"), padded + "\n[B]\nz=3\n");
}

// The real route: a settings folder nobody may add a file to, ORL.INI
// writable; a shorter value still reads back whole.
TEST(ProfileFile, AShorterValueInAReadOnlyFolderReadsBackWhole) {
  testing::TempFolder folder;
  const std::string old = "[System]\nJobPath=/a/long/old/folder\nLabelFile=labels.txt\n";
  const auto file = folder.Write("ORL.INI", old);
  ::chmod(file.c_str(), 0666);
  ::chmod(folder.Path().c_str(), 0555);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    ::_exit(ProfileFile(file).WriteSetting("System", "JobPath", "/j") ? 0 : 1);
  }
  int status = -1;
  ::waitpid(child, &status, 0);
  ::chmod(folder.Path().c_str(), 0755);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  const ProfileFile settings(file);
  EXPECT_EQ(settings.ReadSetting("System", "JobPath"), "/j");
  EXPECT_EQ(settings.ReadSetting("System", "LabelFile"), "labels.txt");
  EXPECT_EQ(folder.Read("ORL.INI").size(), old.size());
}

TEST(ProfileFile, FailedWriteReportsAndLeavesNoFile) {
  testing::TempFolder folder;
  ProfileFile settings(folder.Path() / "missing-folder" / "ORL.INI");
  EXPECT_FALSE(settings.WriteSetting("Configuration", "SawKerf", "3.2"));
  EXPECT_EQ(settings.ReadSetting("Configuration", "SawKerf"), "");
}

}  // namespace
}  // namespace orl
