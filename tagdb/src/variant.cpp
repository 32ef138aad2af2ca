#include "queldb/variant.h"

#include "text_util.h"

namespace queldb {

Variant Variant::Array(std::size_t count) { return ArrayOf(Items(count)); }

Variant Variant::ArrayOf(std::vector<Variant> items) {
  Variant array;
  array.data_ = std::move(items);
  return array;
}

bool Variant::IsNumeric() const {
  switch (Type()) {
    case VariantType::Empty:
    case VariantType::Array:
      return false;
    case VariantType::String:
      return ParseNumber(*AsString()).has_value();
    default:
      return true;
  }
}

std::optional<double> Variant::ToDouble() const {
  switch (Type()) {
    case VariantType::Boolean: return *AsBoolean() ? -1.0 : 0.0;
    case VariantType::Integer: return *AsInteger();
    case VariantType::Long: return *AsLong();
    case VariantType::Single: return *AsSingle();
    case VariantType::Double: return *AsDouble();
    case VariantType::String: return ParseNumber(*AsString());
    default: return std::nullopt;
  }
}

std::optional<int32_t> Variant::ToLong() const {
  if (const int32_t* value = AsLong()) return *value;
  if (const int16_t* value = AsInteger()) return *value;
  auto number = ToDouble();
  if (!number) return std::nullopt;
  return RoundToLong(*number);
}

std::optional<std::string> Variant::ToText() const {
  switch (Type()) {
    case VariantType::Empty: return std::string();
    case VariantType::Boolean: return std::string(*AsBoolean() ? "True" : "False");
    case VariantType::Integer: return std::to_string(*AsInteger());
    case VariantType::Long: return std::to_string(*AsLong());
    case VariantType::Single: return FormatNumber(*AsSingle());
    case VariantType::Double: return FormatNumber(*AsDouble());
    case VariantType::String: return *AsString();
    default: return std::nullopt;
  }
}

std::size_t Variant::Count() const {
  const Items* items = std::get_if<Items>(&data_);
  return items ? items->size() : 0;
}

Variant* Variant::Element(int64_t index) {
  Items* items = std::get_if<Items>(&data_);
  if (!items || index < 1 || index > static_cast<int64_t>(items->size())) return nullptr;
  return &(*items)[static_cast<std::size_t>(index - 1)];
}

const Variant* Variant::Element(int64_t index) const {
  return const_cast<Variant*>(this)->Element(index);
}

}  // namespace queldb
