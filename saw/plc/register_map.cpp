#include "saw/plc/register_map.h"

#include <cmath>
#include <string>

#include "saw/shell/path_parts.h"
#include "saw/shell/text_number.h"

namespace orl {

int ModbusRegister(int plcAddress) {
  if (plcAddress < 0) return -1;
  int value = 0;
  int weight = 1;
  for (int rest = plcAddress; rest > 0; rest /= 10) {
    const int digit = rest % 10;
    if (digit > 7) return -1;
    value += digit * weight;
    weight *= 8;
  }
  return value;
}

int RelayBitIndex(int relay) {
  if (relay >= 700) relay -= 700;
  if (relay >= 0 && relay <= 7) return relay;
  if (relay >= 10 && relay <= 17) return relay - 2;
  return -1;
}

namespace {

// Characters that are neither digits nor capital hex letters count nothing
// and take no place ("1f" reads as 1).
double HexDigitsValue(std::string_view text) {
  const std::string trimmed = TrimBlanks(text);
  double sum = 0;
  double weight = 1;
  for (auto it = trimmed.rbegin(); it != trimmed.rend(); ++it) {
    const char c = *it;
    if (c >= 'A' && c <= 'F') sum += (c - 'A' + 10) * weight;
    else if (c >= '0' && c <= '9') sum += (c - '0') * weight;
    else continue;
    weight *= 16;
  }
  return sum;
}

}  // namespace

std::int32_t HexTextValue(std::string_view text) { return RoundHalfEven(HexDigitsValue(text)); }


PlcWords2 BcdWords(std::int32_t n) {
  // Eight BCD digits need all 32 bits, beyond the signed range.
  const auto bcd = static_cast<std::int64_t>(HexDigitsValue(std::to_string(n)));
  return {static_cast<std::int32_t>(bcd & 0xFFFF), static_cast<std::int32_t>((bcd >> 16) & 0xFFFF)};
}

PlcWords4 TargetBlock(std::int32_t target, std::int32_t creepTenths) {
  const PlcWords2 t = BcdWords(target);
  const PlcWords2 c = BcdWords(creepTenths);
  return {t[0], t[1], c[0], c[1]};
}

std::int32_t DecodeBcd(std::int32_t lowWord, std::int32_t highWord) {
  const std::int64_t v = static_cast<std::int64_t>(highWord) * 65536 + lowWord;
  std::int64_t decimal = 0;
  std::int64_t weight = 1;
  for (std::int64_t rest = v; rest > 0; rest /= 16, weight *= 10) {
    const std::int64_t nibble = rest % 16;
    if (nibble > 9) return lowWord;
    decimal += nibble * weight;
  }
  return decimal > INT32_MAX ? lowWord : static_cast<std::int32_t>(decimal);
}

}  // namespace orl
