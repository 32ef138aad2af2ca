#include "saw/history/history_settings.h"

#include <gtest/gtest.h>

#include "fakes/temp_folder.h"

namespace orl {
namespace {

TEST(HistorySettings, DefaultsAndPathsFromTheSettingsFolder) {
  testing::TempFolder folder;
  const ProfileFile ini(folder.Write("ORL.INI", "[System]\nJobPath=Jobs\n"));
  HistorySettings settings = ReadHistorySettings(ini, folder.Path());
  EXPECT_EQ(settings.file, folder.Path() / "history.sqlite");
  EXPECT_EQ(settings.keepDays, 365);
  EXPECT_EQ(settings.brokerHost, "");
  EXPECT_EQ(settings.sawName, HostName());
  ini.WriteSetting("System", "HistoryPath", "data/../saw.db");
  ini.WriteSetting("System", "SawName", "Saw 2");
  settings = ReadHistorySettings(ini, folder.Path());
  EXPECT_EQ(settings.file, folder.Path() / "saw.db");
  EXPECT_EQ(settings.sawName, "Saw 2");
  ini.WriteSetting("System", "HistoryPath", "/var/lib/orl/history.sqlite");
  EXPECT_EQ(ReadHistorySettings(ini, folder.Path()).file, "/var/lib/orl/history.sqlite");
}

TEST(HistorySettings, KeepingDaysAndBrokerAddresses) {
  for (const char* stored : {"", "0", "-3", "abc", "30 days"}) EXPECT_EQ(HistoryDaysSetting(stored), 365) << stored;
  EXPECT_EQ(HistoryDaysSetting("1"), 1);
  const std::vector<std::tuple<const char*, std::string, int>> brokers = {
      {"", "", 1883},           {"plant", "plant", 1883},         {"10.0.0.5:8883", "10.0.0.5", 8883},
      {"plant:x", "plant", 1883}, {"plant:70000", "plant", 1883}, {"[fd00::5]:1999", "fd00::5", 1999},
      {"fd00::5", "fd00::5", 1883}};
  for (const auto& [stored, host, port] : brokers) {
    EXPECT_EQ(BrokerSetting(stored).host, host) << stored;
    EXPECT_EQ(BrokerSetting(stored).port, port) << stored;
  }
}

}  // namespace
}  // namespace orl
