#include "settings.h"

// Values are kept as the bytes in the file; no wide-character conversion.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION  // Debian ships the template bodies behind this switch
#include <SimpleIni.h>

#include <algorithm>
#include <array>
#include <cstdlib>

#include "text_util.h"

namespace queldb {
namespace {

// Values longer than this are cut, as a 100-character profile buffer would.
constexpr std::size_t kMaxValueLength = 99;

std::string ReadValue(const CSimpleIniA& ini, const char* section, const char* key) {
  std::string value = WithoutComment(ini.GetValue(section, key, ""));
  if (value.size() > kMaxValueLength) value.resize(kMaxValueLength);
  return value;
}

}  // namespace

std::string WithoutComment(std::string_view value) {
  value = Trim(value);
  if (value.size() >= 2 && value.front() == '"') {
    std::size_t close = value.find('"', 1);
    if (close != std::string_view::npos) return std::string(value.substr(1, close - 1));
  }
  return std::string(Trim(value.substr(0, value.find(';'))));
}

std::string SystemFolder() {
  const char* configured = std::getenv(kSystemDirVariable);
  std::string folder = (configured && *configured) ? configured : "/etc";
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

int16_t ProtocolCodeOf(const std::string& name) {
  static const std::array<const char*, 6> kNames = {
      "Modbus", "ModbusPlus", "ABDH", "ABDHPlus", "PLCDirectECOM", "PLCDirect"};
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (name == kNames[i]) return static_cast<int16_t>(i + 1);
  }
  return 0;
}

ProtocolFamily FamilyOf(int16_t protocolCode) {
  switch (protocolCode) {
    case 1: case 2: return ProtocolFamily::Modbus;
    case 3: case 4: return ProtocolFamily::Ab;
    case 5: case 6: return ProtocolFamily::PlcDirect;
    default: return ProtocolFamily::None;
  }
}

void LoadSettings(Settings& settings) {
  CSimpleIniA ini;
  ini.SetUnicode();
  // A key given twice in a section: the profile reader takes the first.
  ini.SetMultiKey(true);
  // A missing or unreadable file leaves every key empty.
  ini.LoadFile((settings.systemFolder + "/" + kSettingsFileName).c_str());
  std::string folder = ReadValue(ini, "DatabasePath", "pDatabasePath");
  // Settings written on the original platform use "\"; both separate here.
  std::replace(folder.begin(), folder.end(), '\\', '/');
  settings.databaseFolder = folder.empty() ? settings.systemFolder + "/" : folder;
  settings.protocolCode = ProtocolCodeOf(ReadValue(ini, "IOType", "IODevice"));
}

}  // namespace queldb
