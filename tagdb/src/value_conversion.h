// Conversions that reads apply to stored values. Each gives nullopt when a
// value is missing or not a number; the read then puts 0 in its place.
#pragma once

#include <cstdint>
#include <optional>

#include "queldb/variant.h"

namespace queldb {

// Two registers as one float: whole part + fraction in ten-thousandths.
std::optional<Variant> FloatPair(const Variant* whole, const Variant* fraction);
// Bit `bit` (0..30) of the value, as 0 or 1.
std::optional<Variant> BitOf(const Variant* value, int64_t bit);
// (value + offset) * scale.
std::optional<Variant> Scaled(const Variant& value, double scale, double offset);

}  // namespace queldb
