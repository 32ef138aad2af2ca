#include "address_resolver.h"

#include <limits>

#include "queldb/db.h"
#include "text_util.h"

namespace queldb {
namespace {

enum class AddressForm { PlainNumber, AddressText, TagName, Unusable };

AddressForm Classify(const Variant& address, std::string_view separators) {
  if (const std::string* text = address.AsString()) {
    if (ParseNumber(*text)) return AddressForm::PlainNumber;
    if (text->find_first_of(separators) != std::string::npos) return AddressForm::AddressText;
    return AddressForm::TagName;
  }
  return address.IsNumeric() ? AddressForm::PlainNumber : AddressForm::Unusable;
}

// The tag's PLC address text, or nullopt for an unknown name.
std::optional<std::string> TagAddressText(const Variant& name, const TagTable& tags) {
  const TagRecord* tag = tags.FindByName(*name.AsString());
  if (!tag) return std::nullopt;
  return tag->regAB.ToText();
}

std::optional<RegisterTarget> ModbusTarget(std::string_view text) {
  auto parsed = ParseModbusAddress(text);
  if (!parsed) return std::nullopt;
  return RegisterTarget{parsed->route, parsed->reg, parsed->normalized};
}

std::optional<RegisterTarget> PlcDirectTarget(std::string_view text, Direction direction) {
  auto parsed = ParsePlcDirectAddress(text);
  if (!parsed) return std::nullopt;
  RegisterTarget target{PlcDirectKeyPrefix(parsed->station, parsed->prefix), parsed->reg, std::nullopt};
  if (direction == Direction::Read) {
    // The PLC numbers its memory in octal; the driver stores it decimal.
    if (parsed->reg < 0) return std::nullopt;
    auto octal = OctalToLong(std::to_string(parsed->reg));
    if (!octal) return std::nullopt;
    target.reg = *octal;
  }
  return target;
}

std::optional<RegisterTarget> ParseRegisterText(std::string_view text, ProtocolFamily family,
                                                Direction direction) {
  return family == ProtocolFamily::Modbus ? ModbusTarget(text) : PlcDirectTarget(text, direction);
}

std::optional<RegisterTarget> PlainNumberTarget(const Variant& address, ProtocolFamily family,
                                                Direction direction) {
  auto reg = address.ToLong();
  if (!reg) return std::nullopt;
  // Writes in the PLCDirect family store plain numbers under station 0 with
  // no memory prefix; every other path uses unit 1.
  bool plcDirectWrite = family == ProtocolFamily::PlcDirect && direction == Direction::Write;
  return RegisterTarget{plcDirectWrite ? PlcDirectKeyPrefix(0, "") : "1;", *reg, std::nullopt};
}

}  // namespace

std::optional<RegisterTarget> ResolveRegisterAddress(const Variant& address, ProtocolFamily family,
                                                     Direction direction, const TagTable& tags) {
  bool modbusWrite = family == ProtocolFamily::Modbus && direction == Direction::Write;
  switch (Classify(address, modbusWrite ? ";" : ";,")) {
    case AddressForm::PlainNumber:
      return PlainNumberTarget(address, family, direction);
    case AddressForm::AddressText:
      return ParseRegisterText(*address.AsString(), family, direction);
    case AddressForm::TagName: {
      auto text = TagAddressText(address, tags);
      if (!text) return std::nullopt;
      return ParseRegisterText(*text, family, direction);
    }
    default:
      return std::nullopt;
  }
}

namespace {

std::optional<AbAddress> AbAddressFromArray(const Variant& address) {
  if (address.Count() != 4) return std::nullopt;
  std::optional<int32_t> parts[4];
  for (int i = 0; i < 4; ++i) parts[i] = address.Element(i + 1)->ToLong();
  if (!parts[0] || !parts[1] || !parts[2] || !parts[3]) return std::nullopt;
  if (*parts[0] < 0 || *parts[0] > std::numeric_limits<int16_t>::max() || *parts[3] < 0) {
    return std::nullopt;
  }
  AbAddress ab;
  ab.fileType = static_cast<int16_t>(*parts[0]);
  ab.fileNumber = *parts[1];
  ab.element = *parts[2];
  ab.subElement = *parts[3];
  return ab;  // an array names no bit: reads give whole words
}

}  // namespace

std::optional<AbAddress> ResolveAbAddress(const Variant& address, const TagTable& tags) {
  if (address.IsArray()) return AbAddressFromArray(address);
  const std::string* text = address.AsString();
  if (!text) return std::nullopt;
  if (text->find_first_of(":/") != std::string::npos) return ParseAbAddress(*text);
  auto tagText = TagAddressText(address, tags);
  if (!tagText) return std::nullopt;
  return ParseAbAddress(*tagText);
}

void ApplyAbFileIoType(const AbAddress& ab, int16_t& ioType) {
  if (ab.fileType == kAbFloatFile) ioType = ioFloat;
}

}  // namespace queldb
