// Number reading shared by the optimizer file readers.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "saw/optimizer/expression_evaluator.h"

namespace orl {

// Trims the text of blanks and tabs (in place, as the caller's copy is meant
// to change), joins its numbers (JoinBlanks) and evaluates it, so "48 1/2"
// and "48 + 1/2" give 48.5 and "48 - 1/2" gives 47.5. A text that divides
// by 0 or overflows gives an infinite value: the caller decides what that
// reads as.
float EvalNumber(std::string& text, ExpressionEvaluator& evaluator);
float EvalNumber(std::string_view text, ExpressionEvaluator& evaluator);

// Removes the blanks and tabs of a trimmed text; a run of them between two
// operands ("48 1/2") becomes "+", one beside an operator ("48 - 1/2") goes.
void JoinBlanks(std::string& text);

// The text repeated n times; nothing for n below 1.
std::string RepeatText(int n, std::string_view text);

// Reads a whole number of at most four digits after an optional minus sign
// ("7", "-120", "0042"), which is its own 16-bit value however the field is
// read: as an expression or by its leading number. False for anything else.
inline bool ReadSmallWhole(std::string_view text, std::int16_t& value) {
  const bool negative = !text.empty() && text[0] == '-';
  const std::string_view digits = text.substr(negative ? 1 : 0);
  if (digits.empty() || digits.size() > 4) return false;
  int whole = 0;
  for (char c : digits) {
    const unsigned digit = static_cast<unsigned char>(c) - unsigned{'0'};
    if (digit > 9) return false;
    whole = whole * 10 + static_cast<int>(digit);
  }
  value = static_cast<std::int16_t>(negative ? -whole : whole);
  return true;
}

// The rounding and clamping of ToWhole, for 16 and 32 bits.
template <typename Int>
Int RoundClamped(double value, bool* clamped);
extern template std::int16_t RoundClamped<std::int16_t>(double, bool*);
extern template std::int32_t RoundClamped<std::int32_t>(double, bool*);

// Nearest integer, halves to even, held to the range of `Int`; a value that
// is no number gives 0. `clamped` is set when the range was exceeded. The
// usual whole number in range is taken inline: readers convert nearly every
// field of a file.
template <typename Int>
Int ToWhole(double value, bool* clamped) {
  constexpr double low = std::numeric_limits<Int>::min();
  constexpr double high = std::numeric_limits<Int>::max();
  if (value >= low && value <= high && value == static_cast<double>(static_cast<Int>(value))) {
    if (clamped) *clamped = false;
    return static_cast<Int>(value);
  }
  return RoundClamped<Int>(value, clamped);
}

inline std::int16_t ToInt16(double value, bool* clamped = nullptr) { return ToWhole<std::int16_t>(value, clamped); }
inline std::int32_t ToInt32(double value, bool* clamped = nullptr) { return ToWhole<std::int32_t>(value, clamped); }

}  // namespace orl
