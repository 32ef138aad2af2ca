// PLC address grammars of the three protocol families and the value keys
// under which one register's value is stored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace queldb {

// Modbus: [route;...]register, up to five route numbers of 16 bits each.
struct ModbusAddress {
  int32_t reg = 0;
  std::string route;       // each route number followed by ";", e.g. "3;12;"
  std::string normalized;  // route followed by the register, e.g. "3;12;40001"
};
std::optional<ModbusAddress> ParseModbusAddress(std::string_view text);

// PLCDirect: [station;][prefix,]number; the number read in decimal.
struct PlcDirectAddress {
  int32_t reg = 0;
  int16_t station = 0;
  std::string prefix;  // memory prefix such as V, X, GX; may be empty
};
std::optional<PlcDirectAddress> ParsePlcDirectAddress(std::string_view text);

// Allen-Bradley: letters [file] [':' element] ['.' sub-element] ['/' bit].
constexpr int32_t kNoBit = 99;
struct AbAddress {
  int16_t fileType = 3;
  int32_t fileNumber = 0;
  int32_t element = 0;
  int32_t bit = kNoBit;
  int32_t subElement = 0;  // 0: none; otherwise the written sub-element plus 1
};
std::optional<AbAddress> ParseAbAddress(std::string_view text);
constexpr int16_t kAbFloatFile = 8;  // the file type code of F files
// The file type code that the file letters select (3 for unknown letters).
int16_t AbFileTypeCode(std::string_view letters);
// The key prefix of an AB file: "N7:", "O:", or empty for the types without one.
std::string FormatAbFilePrefix(int16_t fileType, int32_t fileNumber);

// The trimmed text read as an octal number; nullopt for any digit 8 or 9, any
// other character, or a value beyond 32 bits.
std::optional<int32_t> OctalToLong(std::string_view text);

// Value keys. Keys compare without regard to case; these keep the case given.
// The key of a register: its Modbus route ("3;12;") or PLCDirect key prefix,
// then the register number.
std::string RegisterKey(std::string_view prefix, int64_t reg);
std::string PlcDirectKeyPrefix(int16_t station, std::string_view prefix);
std::string AbKey(int16_t fileType, int32_t fileNumber, int64_t element, int32_t subElement);

}  // namespace queldb
