#include "saw/plc/link_factory.h"

#include "saw/plc/attempt.h"
#include "saw/plc/sim_plc_link.h"
#include "saw/shell/orl_settings.h"
#include "saw/shell/path_parts.h"
#include "saw/shell/text_number.h"

namespace orl {
namespace {

constexpr const char* kPortInUsePrefix = "Comm Port";
constexpr const char* kPortInUseSuffix = " is already in use.";

int SettingOr(const ProfileFile& settings, const char* key, int fallback) {
  const std::string text = TrimBlanks(settings.ReadSetting(section::kConfiguration, key));
  const int value = RoundHalfEven(Val(text));
  return text.empty() || value <= 0 ? fallback : value;
}

}  // namespace

bool ParseHostPort(const std::string& text, std::string& host, int& port) {
  const auto colon = text.rfind(':');
  if (colon == std::string::npos) {
    host = text;
    return !host.empty();
  }
  const std::string portText = text.substr(colon + 1);
  if (portText.empty() || portText.find_first_not_of("0123456789") != std::string::npos) return false;
  host = text.substr(0, colon);
  port = std::stoi(portText);
  return !host.empty() && port >= 0 && port < 65536;
}

PlcLinkSpec PlcLinkSpecFromSettings(const ProfileFile& settings, bool simulate) {
  PlcLinkSpec linkChoice;
  const auto read = [&](const char* key) { return settings.ReadSetting(section::kConfiguration, key); };
  linkChoice.portNumber = CommPortSetting(read(key::kCommPort));
  linkChoice.settings = LineSettings(BaudRateSetting(read(key::kBaudRate)));
  linkChoice.modbus.device = TrimBlanks(read(key::kCommDevice));
  linkChoice.modbus.station = SettingOr(settings, key::kPlcStation, kDefaultPlcStation);
  linkChoice.modbus.timeoutMs = SettingOr(settings, key::kPlcTimeoutMs, kDefaultPlcTimeoutMs);
  linkChoice.sim.absolute = AbsoluteModeSetting(read(key::kMode));
  const std::string host = TrimBlanks(read(key::kPlcHost));
  if (simulate || FlagSetting(read(key::kSimulate))) linkChoice.kind = LinkKind::Simulated;
  else if (!host.empty() && ParseHostPort(host, linkChoice.modbus.host, linkChoice.modbus.tcpPort)) linkChoice.kind = LinkKind::Tcp;
  return linkChoice;
}

bool ApplyPlcChoice(const std::string& choice, PlcLinkSpec& linkChoice) {
  if (choice == "sim") {
    linkChoice.kind = LinkKind::Simulated;
    return true;
  }
  if (choice.rfind("tcp:", 0) == 0) {
    linkChoice.kind = LinkKind::Tcp;
    return ParseHostPort(choice.substr(4), linkChoice.modbus.host, linkChoice.modbus.tcpPort) && linkChoice.modbus.tcpPort > 0;
  }
  if (choice.rfind("rtu:", 0) == 0 && choice.size() > 4) {
    linkChoice.kind = LinkKind::Rtu;
    linkChoice.modbus.device = choice.substr(4);
    return true;
  }
  return false;
}

std::unique_ptr<PlcLink> MakePlcLink(const PlcLinkSpec& linkChoice, const Clock& clock) {
  std::unique_ptr<PlcLink> link;
  if (linkChoice.kind == LinkKind::Simulated) {
    link = std::make_unique<SimPlcLink>(linkChoice.sim, clock);
  } else {
    ModbusLinkConfig config = linkChoice.modbus;
    if (linkChoice.kind == LinkKind::Rtu) config.host.clear();
    link = std::make_unique<ModbusLink>(config);
  }
  link->SetPortNumber(linkChoice.portNumber);
  link->SetSettings(linkChoice.settings);
  return link;
}

std::string PortInUseText(int portNumber) { return kPortInUsePrefix + std::to_string(portNumber) + kPortInUseSuffix; }

std::optional<std::string> OpenPlcLink(PlcLink& link) {
  bool opened = false;
  Attempt([&] { opened = link.Open(); });
  if (opened) return std::nullopt;
  return PortInUseText(link.PortNumber());
}

}  // namespace orl
