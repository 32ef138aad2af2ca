#include "value_conversion.h"

namespace queldb {

std::optional<Variant> FloatPair(const Variant* whole, const Variant* fraction) {
  if (!whole || !fraction) return std::nullopt;
  auto a = whole->ToDouble();
  auto b = fraction->ToDouble();
  if (!a || !b) return std::nullopt;
  return Variant(*a + *b / 10000.0);
}

std::optional<Variant> BitOf(const Variant* value, int64_t bit) {
  if (!value || bit < 0 || bit > 30) return std::nullopt;
  auto word = value->ToLong();
  if (!word) return std::nullopt;
  return Variant(static_cast<int32_t>((*word >> bit) & 1));
}

std::optional<Variant> Scaled(const Variant& value, double scale, double offset) {
  auto raw = value.ToDouble();
  if (!raw) return std::nullopt;
  return Variant((*raw + offset) * scale);
}

}  // namespace queldb
