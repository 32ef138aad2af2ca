// Library settings from KVD.INI in the system configuration folder.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace queldb {

enum class ProtocolFamily { None, Modbus, PlcDirect, Ab };

struct Settings {
  std::string systemFolder;    // no trailing separator
  std::string databaseFolder;  // used as a plain prefix of the database file name
  int16_t protocolCode = 0;
};

inline constexpr const char* kSettingsFileName = "KVD.INI";
inline constexpr const char* kSystemDirVariable = "QUELDB_SYSTEM_DIR";

// QUELDB_SYSTEM_DIR when set and not empty, else /etc; without a trailing "/".
std::string SystemFolder();
// Reads KVD.INI from settings.systemFolder; missing file or keys give defaults.
void LoadSettings(Settings& settings);
// A value as written after "key=": trimmed, and cut at a ";" that starts a
// comment; a value in double quotes is taken whole, ";" and all, without them.
std::string WithoutComment(std::string_view value);
// The protocol code of an IODevice name, matched exactly; 0 when unknown.
int16_t ProtocolCodeOf(const std::string& name);
ProtocolFamily FamilyOf(int16_t protocolCode);

}  // namespace queldb
