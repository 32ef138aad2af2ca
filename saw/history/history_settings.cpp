#include "saw/history/history_settings.h"

#include <unistd.h>

#include <charconv>
#include <climits>

#include "saw/shell/orl_settings.h"

namespace orl {
namespace {

// The whole text as a number, or `fallback`: "30 days" is not 30.
int WholeNumber(std::string_view text, int fallback) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : fallback;
}

std::filesystem::path HistoryFile(std::string_view stored, const std::filesystem::path& settingsFolder) {
  const std::filesystem::path named = stored.empty() ? std::filesystem::path(kDefaultHistoryFileName)
                                                     : std::filesystem::path(stored);
  return named.is_absolute() ? named : (settingsFolder / named).lexically_normal();
}

}  // namespace

int HistoryDaysSetting(std::string_view stored) {
  const int days = WholeNumber(stored, 0);
  return days > 0 ? days : kDefaultHistoryDays;
}

BrokerAddress BrokerSetting(std::string_view stored) {
  BrokerAddress address;
  std::string_view host = stored;
  std::string_view port;
  if (!stored.empty() && stored.front() == '[') {
    const auto close = stored.find(']');
    host = stored.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
    if (close != std::string_view::npos && stored.substr(close + 1).starts_with(":")) port = stored.substr(close + 2);
  } else if (const auto colon = stored.rfind(':'); colon != std::string_view::npos &&
                                                  stored.find(':') == colon) {
    // One colon separates the port; more make a bare IPv6 address.
    host = stored.substr(0, colon);
    port = stored.substr(colon + 1);
  }
  address.host = std::string(host);
  const int number = WholeNumber(port, kDefaultBrokerPort);
  address.port = number >= 1 && number <= 65535 ? number : kDefaultBrokerPort;
  return address;
}

std::string HostName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "saw";
  return name;
}

HistorySettings ReadHistorySettings(const ProfileFile& settings, const std::filesystem::path& settingsFolder) {
  HistorySettings history;
  history.file = HistoryFile(settings.ReadSetting(section::kSystem, key::kHistoryPath), settingsFolder);
  history.keepDays = HistoryDaysSetting(settings.ReadSetting(section::kSystem, key::kHistoryDays));
  const BrokerAddress broker = BrokerSetting(settings.ReadSetting(section::kSystem, key::kMqttBroker));
  history.brokerHost = broker.host;
  history.brokerPort = broker.port;
  history.sawName = settings.ReadSetting(section::kSystem, key::kSawName);
  if (history.sawName.empty()) history.sawName = HostName();
  return history;
}

}  // namespace orl
