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
  PlcLinkSpec spec;
  const auto read = [&](const char* key) { return settings.ReadSetting(section::kConfiguration, key); };
  spec.portNumber = CommPortSetting(read(key::kCommPort));
  spec.settings = LineSettings(BaudRateSetting(read(key::kBaudRate)));
  spec.modbus.device = TrimBlanks(read(key::kCommDevice));
  spec.modbus.station = SettingOr(settings, key::kPlcStation, kDefaultPlcStation);
  spec.modbus.timeoutMs = SettingOr(settings, key::kPlcTimeoutMs, kDefaultPlcTimeoutMs);
  spec.sim.absolute = AbsoluteModeSetting(read(key::kMode));
  const std::string host = TrimBlanks(read(key::kPlcHost));
  if (simulate || FlagSetting(read(key::kSimulate))) spec.kind = LinkKind::Simulated;
  else if (!host.empty() && ParseHostPort(host, spec.modbus.host, spec.modbus.tcpPort)) spec.kind = LinkKind::Tcp;
  return spec;
}

bool ApplyPlcChoice(const std::string& choice, PlcLinkSpec& spec) {
  if (choice == "sim") {
    spec.kind = LinkKind::Simulated;
    return true;
  }
  if (choice.rfind("tcp:", 0) == 0) {
    spec.kind = LinkKind::Tcp;
    return ParseHostPort(choice.substr(4), spec.modbus.host, spec.modbus.tcpPort) && spec.modbus.tcpPort > 0;
  }
  if (choice.rfind("rtu:", 0) == 0 && choice.size() > 4) {
    spec.kind = LinkKind::Rtu;
    spec.modbus.host.clear();
    spec.modbus.device = choice.substr(4);
    return true;
  }
  return false;
}

std::unique_ptr<PlcLink> MakePlcLink(const PlcLinkSpec& spec, const Clock& clock) {
  std::unique_ptr<PlcLink> link;
  if (spec.kind == LinkKind::Simulated) {
    link = std::make_unique<SimPlcLink>(spec.sim, clock);
  } else {
    ModbusLinkConfig config = spec.modbus;
    if (spec.kind == LinkKind::Rtu) config.host.clear();
    link = std::make_unique<ModbusLink>(config);
  }
  link->SetPortNumber(spec.portNumber);
  link->SetSettings(spec.settings);
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
