// Turns the address argument of a read or write (a number, an address text, a
// tag name, or an AB 4-element array) into what the value keys are built from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "addresses.h"
#include "queldb/variant.h"
#include "settings.h"
#include "tag_table.h"

namespace queldb {

enum class Direction { Read, Write };

// Modbus and PLCDirect families: the key of register r is keyPrefix + r.
struct RegisterTarget {
  std::string keyPrefix;
  int32_t reg = 0;
  // Modbus addresses given as route and register, the form a scaled read
  // looks up among the tags' addresses; absent for plain numbers and PLCDirect.
  std::optional<std::string> normalized;
};

// Nullopt when the address does not parse or names no known tag. Reads take
// PLCDirect register digits as octal, writes as decimal.
std::optional<RegisterTarget> ResolveRegisterAddress(const Variant& address, ProtocolFamily family,
                                                     Direction direction, const TagTable& tags);
std::optional<AbAddress> ResolveAbAddress(const Variant& address, const TagTable& tags);
// Values of an AB float file (F) are floats: reads and writes there set IOType to ioFloat.
void ApplyAbFileIoType(const AbAddress& ab, int16_t& ioType);

}  // namespace queldb
