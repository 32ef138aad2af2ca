#include "saw/history/history_settings.h"

#include <gtest/gtest.h>

#include "fakes/temp_folder.h"

namespace orl {
namespace {

TEST(HistorySettings, MissingKeysGiveTheDefaults) {
  testing::TempFolder folder;
  const ProfileFile ini(folder.Write("ORL.INI", "[System]\nJobPath=Jobs\n"));
  const HistorySettings settings = ReadHistorySettings(ini, folder.Path());
  EXPECT_EQ(settings.file, folder.Path() / "history.sqlite");
  EXPECT_EQ(settings.keepDays, 365);
  EXPECT_EQ(settings.brokerHost, "");
  EXPECT_EQ(settings.sawName, HostName());
  EXPECT_FALSE(settings.sawName.empty());
}

TEST(HistorySettings, PathsAreTakenFromTheSettingsFolder) {
  testing::TempFolder folder;
  const ProfileFile ini(folder.Write("ORL.INI", "[System]\nHistoryPath=data/../saw.db\nSawName=Saw 2\n"
                                                "MqttBroker=plant.local:1884\nHistoryDays=30\n"));
  const HistorySettings settings = ReadHistorySettings(ini, folder.Path());
  EXPECT_EQ(settings.file, folder.Path() / "saw.db");
  EXPECT_EQ(settings.sawName, "Saw 2");
  EXPECT_EQ(settings.brokerHost, "plant.local");
  EXPECT_EQ(settings.brokerPort, 1884);
  EXPECT_EQ(settings.keepDays, 30);
  ini.WriteSetting("System", "HistoryPath", "/var/lib/orl/history.sqlite");
  EXPECT_EQ(ReadHistorySettings(ini, folder.Path()).file, "/var/lib/orl/history.sqlite");
}

TEST(HistorySettings, KeepingDaysOnlyFromAPositiveNumber) {
  for (const char* stored : {"", "0", "-3", "abc", "30 days"}) EXPECT_EQ(HistoryDaysSetting(stored), 365) << stored;
  EXPECT_EQ(HistoryDaysSetting("1"), 1);
}

TEST(HistorySettings, BrokerAddresses) {
  const auto expect = [](const char* stored, const std::string& host, int port) {
    const BrokerAddress address = BrokerSetting(stored);
    EXPECT_EQ(address.host, host) << stored;
    EXPECT_EQ(address.port, port) << stored;
  };
  expect("", "", 1883);
  expect("plant", "plant", 1883);
  expect("10.0.0.5:8883", "10.0.0.5", 8883);
  expect("plant:none", "plant", 1883);
  expect("plant:70000", "plant", 1883);
  expect("[fd00::5]:1999", "fd00::5", 1999);
  expect("fd00::5", "fd00::5", 1883);
}

}  // namespace
}  // namespace orl
