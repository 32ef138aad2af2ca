#include "saw/shell/orl_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace orl {
namespace {

TEST(PortSettings, PortOutsideOneToFourSelectsPortOne) {
  EXPECT_EQ(CommPortSetting("5"), 1);
  EXPECT_EQ(CommPortSetting("0"), 1);
  EXPECT_EQ(CommPortSetting("COM2"), 1);
  EXPECT_EQ(CommPortSetting(""), 1);
  EXPECT_EQ(CommPortSetting("4"), 4);
  EXPECT_EQ(CommPortSetting("2"), 2);
}

TEST(PortSettings, BaudRateOutsideRangeSelects9600) {
  EXPECT_EQ(BaudRateSetting("57600"), "9600");
  EXPECT_EQ(BaudRateSetting("200"), "9600");
  EXPECT_EQ(BaudRateSetting(""), "9600");
  EXPECT_EQ(BaudRateSetting("38400"), "38400");
  EXPECT_EQ(LineSettings(BaudRateSetting("19200")), "19200,o,8,1");
}

TEST(ActivationSettings, ValuesAndTheirFallbacks) {
  EXPECT_TRUE(AbsoluteModeSetting("absolute"));
  EXPECT_TRUE(AbsoluteModeSetting("ABSOLUTE"));
  EXPECT_FALSE(AbsoluteModeSetting("relative"));
  EXPECT_FALSE(AbsoluteModeSetting(" absolute x"));
  EXPECT_EQ(ColumnModeSetting("2"), 2);
  EXPECT_EQ(ColumnModeSetting("3"), 0);
  EXPECT_EQ(ColumnModeSetting("-1"), 0);
  EXPECT_EQ(DecimalPlacesSetting(""), 1);
  EXPECT_EQ(DecimalPlacesSetting("0"), 1);
  EXPECT_EQ(DecimalPlacesSetting("2"), 2);
  EXPECT_EQ(DecimalPlacesSetting("7"), 3);
  EXPECT_EQ(MaxLogLenSetting("25.5"), 26);
  EXPECT_TRUE(FlagSetting("1"));
  EXPECT_FALSE(FlagSetting("no"));
}

TEST(SettingsFolder, DevelopmentFolderOnlyForUpperCaseVb) {
  EXPECT_EQ(SettingsFolder("D:\\DEVVB\\RUN\\", ""), kDevelopmentFolder);
  EXPECT_EQ(SettingsFolder("/opt/devvb/run/", ""), "/opt/devvb/run/");
  EXPECT_EQ(SettingsFolder("/opt/orl", ""), "/opt/orl/");
  EXPECT_EQ(SettingsFolder("/opt/VB/run/", "/etc/orl"), "/etc/orl/");
  EXPECT_EQ(SettingsPath("/etc/orl/"), std::filesystem::path("/etc/orl/ORL.INI"));
}

// orl and orl-tool look in the same place: the command line, then a
// non-blank ORL_SETTINGS_DIR, then the program's folder.
TEST(SettingsFolder, CommandLineThenANonBlankVariableThenTheProgramsFolder) {
  ::setenv(kSettingsFolderVariable, "  ", 1);
  EXPECT_EQ(ChosenSettingsFolder("/opt/orl", ""), "/opt/orl/");
  ::setenv(kSettingsFolderVariable, "/etc/orl", 1);
  EXPECT_EQ(ChosenSettingsFolder("/opt/orl", ""), "/etc/orl/");
  EXPECT_EQ(ChosenSettingsFolder("/opt/orl", "/srv/saw2"), "/srv/saw2/");
  ::unsetenv(kSettingsFolderVariable);
  EXPECT_EQ(ChosenSettingsFolder("/opt/VB/run", ""), kDevelopmentFolder);
}

}  // namespace
}  // namespace orl
