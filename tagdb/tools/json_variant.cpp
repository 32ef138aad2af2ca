#include "json_variant.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace queldb::tool {
namespace {

Variant WholeNumber(int64_t number) {
  if (number >= std::numeric_limits<int16_t>::min() && number <= std::numeric_limits<int16_t>::max()) {
    return Variant(static_cast<int16_t>(number));
  }
  if (number >= std::numeric_limits<int32_t>::min() && number <= std::numeric_limits<int32_t>::max()) {
    return Variant(static_cast<int32_t>(number));
  }
  return Variant(static_cast<double>(number));
}

}  // namespace

Variant VariantFromJson(const Json& value) {
  switch (value.type()) {
    case Json::value_t::null: return Variant();
    case Json::value_t::boolean: return Variant(value.get<bool>());
    case Json::value_t::number_integer: return WholeNumber(value.get<int64_t>());
    case Json::value_t::number_unsigned: {
      uint64_t number = value.get<uint64_t>();
      if (number > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
        return Variant(static_cast<double>(number));
      }
      return WholeNumber(static_cast<int64_t>(number));
    }
    case Json::value_t::number_float: return Variant(value.get<double>());
    case Json::value_t::string: return Variant(value.get<std::string>());
    case Json::value_t::array: {
      std::vector<Variant> items;
      for (const Json& item : value) items.push_back(VariantFromJson(item));
      return Variant::ArrayOf(std::move(items));
    }
    default: throw std::invalid_argument("a JSON object is no value");
  }
}

Json VariantToJson(const Variant& value) {
  switch (value.Type()) {
    case VariantType::Empty: return nullptr;
    case VariantType::Boolean: return *value.AsBoolean();
    case VariantType::Integer: return *value.AsInteger();
    case VariantType::Long: return *value.AsLong();
    // A single float printed as the decimal it was written as, not its binary expansion.
    case VariantType::Single: {
      const float single = *value.AsSingle();
      if (!std::isfinite(single)) return nullptr;
      char text[32];
      const char* end = std::to_chars(text, text + sizeof text, single).ptr;  // shortest
      double decimal = 0;
      std::from_chars(text, end, decimal);
      return decimal;
    }
    case VariantType::Double: return *value.AsDouble();
    case VariantType::String: return *value.AsString();
    case VariantType::Array: {
      Json items = Json::array();
      for (std::size_t i = 1; i <= value.Count(); ++i) {
        items.push_back(VariantToJson(*value.Element(static_cast<int64_t>(i))));
      }
      return items;
    }
  }
  return nullptr;
}

}  // namespace queldb::tool
