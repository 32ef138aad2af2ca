#include "addresses.h"

#include <array>
#include <limits>

#include "text_util.h"

namespace queldb {
namespace {

constexpr int32_t kMaxInt16 = std::numeric_limits<int16_t>::max();
constexpr int32_t kMaxInt32 = std::numeric_limits<int32_t>::max();
constexpr int kMaxRouteNumbers = 5;

std::string_view LeadingDigits(std::string_view text) {
  std::size_t n = 0;
  while (n < text.size() && IsDigit(text[n])) ++n;
  return text.substr(0, n);
}

bool HasTextAfter(std::string_view text, std::size_t pos) { return pos + 1 < text.size(); }

// The text after position pos; empty when nothing follows.
std::string_view After(std::string_view text, std::size_t pos) {
  return HasTextAfter(text, pos) ? text.substr(pos + 1) : std::string_view();
}

}  // namespace

std::optional<ModbusAddress> ParseModbusAddress(std::string_view text) {
  ModbusAddress address;
  std::string_view rest = text;
  if (text.find(';') == std::string_view::npos) {
    address.route = "1;";
  } else {
    rest = TrimLeft(text);
    int routeNumbers = 0;
    do {
      auto number = DigitsToInt(LeadingDigits(rest), kMaxInt16);
      // Six or more route numbers have no meaning for any Modbus network.
      if (!number || ++routeNumbers > kMaxRouteNumbers) return std::nullopt;
      address.route += std::to_string(*number) + ";";
      rest = TrimLeft(After(rest, rest.find(';')));
    } while (rest.find(';') != std::string_view::npos);
  }
  auto reg = ParseLong(rest);
  if (!reg) return std::nullopt;
  address.reg = *reg;
  address.normalized = RegisterKey(address.route, *reg);
  return address;
}

std::optional<PlcDirectAddress> ParsePlcDirectAddress(std::string_view text) {
  PlcDirectAddress address;
  std::string_view rest = Trim(text);
  if (std::size_t semicolon = rest.find(';'); semicolon != std::string_view::npos) {
    std::string digits;
    for (char c : rest.substr(0, semicolon)) {
      if (IsDigit(c)) digits += c;
    }
    auto station = DigitsToInt(digits, kMaxInt16);
    if (!station) return std::nullopt;
    address.station = static_cast<int16_t>(*station);
    rest = TrimLeft(After(rest, semicolon));
  }
  if (!ParseNumber(rest)) {
    std::size_t comma = rest.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    for (char c : rest.substr(0, comma)) {
      if (!IsDigit(c) && !IsBlank(c)) address.prefix += c;
    }
    if (address.prefix.empty()) return std::nullopt;
    rest = TrimLeft(After(rest, comma));
  }
  auto reg = ParseLong(rest);
  if (!reg) return std::nullopt;
  address.reg = *reg;
  return address;
}

int16_t AbFileTypeCode(std::string_view letters) {
  static constexpr std::array<std::string_view, 14> kLetters = {
      "O", "I", "S", "B", "T", "C", "R", "N", "F", "A", "BCD", "CC", "CCO", "ST"};
  std::string upper = ToUpperAscii(letters);
  for (std::size_t code = 0; code < kLetters.size(); ++code) {
    if (upper == kLetters[code]) return static_cast<int16_t>(code);
  }
  return 3;
}

std::string FormatAbFilePrefix(int16_t fileType, int32_t fileNumber) {
  static constexpr std::array<std::string_view, 9> kPrefixLetters = {
      "O", "I", "S", "B", "T", "C", "R", "N", "F"};
  if (fileType == 0 || fileType == 1) return std::string(kPrefixLetters[fileType]) + ":";
  if (fileType >= 2 && fileType <= 8) {
    return std::string(kPrefixLetters[fileType]) + std::to_string(fileNumber) + ":";
  }
  if (fileType >= 9 && fileType <= 13) return "";
  return "B" + std::to_string(fileNumber) + ":";
}

namespace {

// Reads the digits of `text` up to one of `enders` (or the end); blanks are
// skipped when `skipBlanks`. Returns the number and where the run stopped.
struct DigitRun {
  int32_t value;
  std::size_t end;
};
std::optional<DigitRun> ReadDigitRun(std::string_view text, std::size_t pos,
                                     std::string_view enders, bool skipBlanks) {
  std::string digits;
  while (pos < text.size() && enders.find(text[pos]) == std::string_view::npos) {
    if (!(skipBlanks && IsBlank(text[pos]))) digits += text[pos];
    ++pos;
  }
  auto value = DigitsToInt(digits, kMaxInt32);
  if (!value) return std::nullopt;
  return DigitRun{*value, pos};
}

}  // namespace

std::optional<AbAddress> ParseAbAddress(std::string_view text) {
  AbAddress address;
  const bool hasColon = text.find(':') != std::string_view::npos;
  std::size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  std::size_t lettersStart = pos;
  while (pos < text.size() && text[pos] != ':' && !IsDigit(text[pos]) && !IsBlank(text[pos])) ++pos;
  std::string_view letters = text.substr(lettersStart, pos - lettersStart);
  std::size_t digitsStart = pos;
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  if (pos >= text.size()) return std::nullopt;  // no element follows the file
  if (HasTextAfter(text, pos)) {
    std::string_view fileDigits = text.substr(digitsStart, pos - digitsStart);
    auto fileNumber = fileDigits.empty() ? std::optional<int32_t>(0) : DigitsToInt(fileDigits, kMaxInt32);
    if (!fileNumber) return std::nullopt;
    address.fileNumber = *fileNumber;
  }
  auto element = ReadDigitRun(text, pos + 1, "/.: ", false);
  if (!element) return std::nullopt;
  if (!hasColon) {
    // Short bit form such as B3/37: the number counts bits from the file start.
    address.element = element->value / 16;
    address.bit = element->value % 16;
  } else {
    address.element = element->value;
    std::size_t stop = element->end;
    if (stop < text.size() && text[stop] == '.' && HasTextAfter(text, stop)) {
      auto sub = ReadDigitRun(text, stop + 1, "/", true);
      if (!sub || sub->value == kMaxInt32) return std::nullopt;
      address.subElement = sub->value + 1;
      stop = sub->end;
    }
    if (stop < text.size() && text[stop] == '/' && HasTextAfter(text, stop)) {
      auto bit = ReadDigitRun(text, stop + 1, "", true);
      if (!bit) return std::nullopt;
      address.bit = bit->value;
    }
  }
  address.fileType = AbFileTypeCode(letters);
  if (address.fileType <= 2) address.fileNumber = address.fileType;  // O:0, I:1, S:2
  return address;
}

std::optional<int32_t> OctalToLong(std::string_view text) {
  text = Trim(text);
  if (text.empty()) return std::nullopt;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '7') return std::nullopt;
    value = value * 8 + (c - '0');
    if (value > kMaxInt32) return std::nullopt;
  }
  return static_cast<int32_t>(value);
}

std::string RegisterKey(std::string_view prefix, int64_t reg) {
  std::string key(prefix);
  key += std::to_string(reg);
  return key;
}

std::string PlcDirectKeyPrefix(int16_t station, std::string_view prefix) {
  std::string key = std::to_string(station);
  key += ';';
  key += prefix;
  key += ',';
  return key;
}

std::string AbKey(int16_t fileType, int32_t fileNumber, int64_t element, int32_t subElement) {
  std::string key = "0;" + FormatAbFilePrefix(fileType, fileNumber) + std::to_string(element);
  if (subElement > 0) key += "." + std::to_string(subElement - 1);
  return key;
}

}  // namespace queldb
