// The value type of the QuelDB interface: what the Db methods take and give.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "queldb/export.h"

namespace queldb {

// Character types hold letters, not numbers: a Variant is not built from them.
template <typename T>
inline constexpr bool kIsCharacterType =
    std::is_same_v<T, char> || std::is_same_v<T, wchar_t> || std::is_same_v<T, char8_t> ||
    std::is_same_v<T, char16_t> || std::is_same_v<T, char32_t>;

enum class VariantType { Empty, Boolean, Integer, Long, Single, Double, String, Array };

// A tagged value: empty, Boolean, 16- or 32-bit integer, single or double float,
// text, or an array of variants indexed from 1. Copies are deep: the library keeps
// its own copy of every stored value and callers own what they get back.
//
// Built from every integer type: types whose every value fits 16 bits (short,
// signed and unsigned char) give Integer, int gives Long, and wider or
// unsigned types give Long when the value fits 32 bits, else Double. Never
// built from a pointer (that would be a Boolean) nor from a single character.
class QUELDB_API Variant {
 public:
  Variant() = default;
  Variant(bool value) : data_(value) {}
  template <std::integral T>
    requires(!std::is_same_v<T, bool> && !kIsCharacterType<T>)
  Variant(T value) : data_(Whole(value)) {}
  template <typename E>
    requires std::is_enum_v<E>
  Variant(E value) : Variant(static_cast<std::underlying_type_t<E>>(value)) {}
  Variant(float value) : data_(value) {}
  Variant(double value) : data_(value) {}
  Variant(long double value) : data_(static_cast<double>(value)) {}
  Variant(std::string value) : data_(std::move(value)) {}
  Variant(std::string_view value) : data_(std::string(value)) {}
  // A null pointer gives empty text.
  Variant(const char* value) : data_(std::string(value ? value : "")) {}
  template <typename T>
    requires(!kIsCharacterType<std::remove_cv_t<T>>)
  Variant(T*) = delete;
  Variant(std::nullptr_t) = delete;
  Variant(char) = delete;

  // An array of `count` empty elements, indexes 1 to count.
  static Variant Array(std::size_t count);
  // An array whose element 1 is items[0].
  static Variant ArrayOf(std::vector<Variant> items);

  VariantType Type() const { return static_cast<VariantType>(data_.index()); }
  bool IsEmpty() const { return Type() == VariantType::Empty; }
  bool IsArray() const { return Type() == VariantType::Array; }
  bool IsText() const { return Type() == VariantType::String; }
  // True for Booleans, integers, floats and text that reads as a number.
  bool IsNumeric() const;

  // The value as a number: True is -1, text must read as a number.
  std::optional<double> ToDouble() const;
  // As a 32-bit integer, rounding halves to even; nullopt when out of range.
  std::optional<int32_t> ToLong() const;
  // As text: numbers in their shortest decimal form, Booleans "True"/"False".
  std::optional<std::string> ToText() const;

  // Typed access; nullptr when the variant holds another type.
  const bool* AsBoolean() const { return std::get_if<bool>(&data_); }
  const int16_t* AsInteger() const { return std::get_if<int16_t>(&data_); }
  const int32_t* AsLong() const { return std::get_if<int32_t>(&data_); }
  const float* AsSingle() const { return std::get_if<float>(&data_); }
  const double* AsDouble() const { return std::get_if<double>(&data_); }
  const std::string* AsString() const { return std::get_if<std::string>(&data_); }

  // Number of array elements; 0 when not an array.
  std::size_t Count() const;
  // Element `index` (from 1); nullptr when not an array or out of bounds.
  Variant* Element(int64_t index);
  const Variant* Element(int64_t index) const;

  friend bool operator==(const Variant& a, const Variant& b) { return a.data_ == b.data_; }

 private:
  using Items = std::vector<Variant>;
  using Data = std::variant<std::monostate, bool, int16_t, int32_t, float, double, std::string, Items>;

  template <typename T>
  static Data Whole(T value) {
    using Limits = std::numeric_limits<T>;
    if constexpr (std::in_range<int16_t>(Limits::min()) && std::in_range<int16_t>(Limits::max()) &&
                  sizeof(T) <= sizeof(int16_t)) {
      return static_cast<int16_t>(value);
    } else {
      if (std::in_range<int32_t>(value)) return static_cast<int32_t>(value);
      return static_cast<double>(value);
    }
  }

  Data data_;
};

}  // namespace queldb
