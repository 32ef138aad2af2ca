#include "saw/shell/profile_file.h"

#include <gtest/gtest.h>

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
  const std::string longValue(100, 'x');
  folder.Write("ORL.INI", "[Configuration]\r\nCommPort = 2\r\nMode=END.-\r\nEmpty=\r\nLong=" + longValue +
                              "\r\n[System]\r\nJobPath=C:\\JOBS\\\r\n");
  ProfileFile settings(folder.Path() / "ORL.INI");
  EXPECT_EQ(settings.ReadSetting("Configuration", "CommPort"), "2");
  EXPECT_EQ(settings.ReadSetting("configuration", "commport"), "2");  // names ignore letter case
  EXPECT_EQ(settings.ReadSetting("Configuration", "Mode"), "");       // the missing-key marker
  EXPECT_EQ(settings.ReadSetting("Configuration", "Empty"), "");
  EXPECT_EQ(settings.ReadSetting("Configuration", "Long"), std::string(79, 'x'));
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

TEST(ProfileFile, FailedWriteReportsAndLeavesNoFile) {
  testing::TempFolder folder;
  ProfileFile settings(folder.Path() / "missing-folder" / "ORL.INI");
  EXPECT_FALSE(settings.WriteSetting("Configuration", "SawKerf", "3.2"));
  EXPECT_EQ(settings.ReadSetting("Configuration", "SawKerf"), "");
}

}  // namespace
}  // namespace orl
