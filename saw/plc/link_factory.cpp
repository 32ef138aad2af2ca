#include "saw/plc/link_factory.h"

#include <arpa/inet.h>

#include <algorithm>

#include "saw/plc/attempt.h"
#include "saw/plc/sim_plc_link.h"
#include "saw/shell/orl_settings.h"
#include "saw/shell/path_parts.h"
#include "saw/shell/text_number.h"

namespace orl {
namespace {

constexpr const char* kPortInUsePrefix = "Comm Port";
constexpr const char* kPortInUseSuffix = " is already in use.";
constexpr const char* kUnreachablePrefix = "The PLC at ";
constexpr const char* kUnreachableSuffix = " cannot be reached.";
constexpr const char* kInvalidHostPrefix = "PlcHost \"";
constexpr const char* kInvalidHostSuffix = "\" is not a valid host[:port].";

bool ParsePort(const std::string& text, int& port) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  port = std::stoi(text);
  return port <= 65535;
}

bool IsIpv6Address(const std::string& text) {
  in6_addr address{};
  return inet_pton(AF_INET6, text.c_str(), &address) == 1;
}

int SettingOr(const ProfileFile& settings, const char* key, int fallback) {
  const std::string text = TrimBlanks(settings.ReadSetting(section::kConfiguration, key));
  const int value = RoundHalfEven(Val(text));
  return text.empty() || value <= 0 ? fallback : value;
}

}  // namespace

bool ParseHostPort(const std::string& text, std::string& host, int& port) {
  std::string name = text;
  std::string portText;
  if (!text.empty() && text.front() == '[') {
    const auto close = text.find(']');
    if (close == std::string::npos) return false;
    name = text.substr(1, close - 1);
    const std::string rest = text.substr(close + 1);
    if (!rest.empty() && (rest.front() != ':' || (portText = rest.substr(1)).empty())) return false;
    if (!IsIpv6Address(name)) return false;
  } else if (std::count(text.begin(), text.end(), ':') > 1) {
    if (!IsIpv6Address(text)) return false;  // a bare IPv6 address takes no port
  } else if (const auto colon = text.find(':'); colon != std::string::npos) {
    name = text.substr(0, colon);
    portText = text.substr(colon + 1);
    if (portText.empty()) return false;
  }
  int parsedPort = port;
  if (name.empty() || (!portText.empty() && !ParsePort(portText, parsedPort))) return false;
  host = name;
  port = parsedPort;
  return true;
}

std::string InvalidPlcHostText(const std::string& value) { return kInvalidHostPrefix + value + kInvalidHostSuffix; }

std::string UnreachableText(const std::string& host, int port) {
  const bool v6 = host.find(':') != std::string::npos;
  return kUnreachablePrefix + (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port) + kUnreachableSuffix;
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
  else if (!host.empty()) {
    // A PLC host that cannot be read is an error, never a quiet fall-back
    // to the serial line.
    linkChoice.kind = LinkKind::Tcp;
    if (!ParseHostPort(host, linkChoice.modbus.host, linkChoice.modbus.tcpPort) || linkChoice.modbus.tcpPort == 0)
      linkChoice.invalidSetting = InvalidPlcHostText(host);
  }
  return linkChoice;
}

bool ApplyPlcChoice(const std::string& choice, PlcLinkSpec& linkChoice) {
  if (choice == "sim") {
    linkChoice.kind = LinkKind::Simulated;
    linkChoice.invalidSetting.clear();
    return true;
  }
  if (choice.rfind("tcp:", 0) == 0) {
    linkChoice.kind = LinkKind::Tcp;
    linkChoice.invalidSetting.clear();
    return ParseHostPort(choice.substr(4), linkChoice.modbus.host, linkChoice.modbus.tcpPort) &&
           linkChoice.modbus.tcpPort > 0;
  }
  if (choice.rfind("rtu:", 0) == 0 && choice.size() > 4) {
    linkChoice.kind = LinkKind::Rtu;
    linkChoice.invalidSetting.clear();
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
  if (const auto* modbus = dynamic_cast<const ModbusLink*>(&link); modbus && modbus->IsTcp())
    return UnreachableText(modbus->Config().host, modbus->Config().tcpPort);
  return PortInUseText(link.PortNumber());
}

}  // namespace orl
