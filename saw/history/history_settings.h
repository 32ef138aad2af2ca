#pragma once
// Where the saw keeps its production history, how long, and how it reaches
// the plant: the keys of [System] in the settings file and their defaults.
#include <filesystem>
#include <string>
#include <string_view>

#include "saw/shell/profile_file.h"

namespace orl {

inline constexpr const char* kDefaultHistoryFileName = "history.sqlite";
inline constexpr int kDefaultHistoryDays = 365;
inline constexpr int kDefaultBrokerPort = 1883;

struct HistorySettings {
  std::filesystem::path file;  // the history database
  int keepDays = kDefaultHistoryDays;
  std::string brokerHost;      // empty: no plant link
  int brokerPort = kDefaultBrokerPort;
  std::string sawName;         // how the plant names this saw
};

// HistoryPath (relative paths are taken from settingsFolder; missing gives
// history.sqlite there), HistoryDays, MqttBroker and SawName (missing gives
// this machine's host name).
HistorySettings ReadHistorySettings(const ProfileFile& settings, const std::filesystem::path& settingsFolder);

// Days records are kept; missing, 0, negative or text gives 365.
int HistoryDaysSetting(std::string_view stored);

struct BrokerAddress {
  std::string host;  // empty: none
  int port = kDefaultBrokerPort;
};
// "host:port", "host" (port 1883) or "[v6 address]:port"; a port that is
// not a number from 1 to 65535 gives 1883.
BrokerAddress BrokerSetting(std::string_view stored);

// This machine's host name ("saw" when it has none).
std::string HostName();

}  // namespace orl
