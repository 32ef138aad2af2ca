// Number reading shared by the optimizer file readers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "saw/optimizer/expression_evaluator.h"

namespace orl {

// Trims the text (in place, as the caller's copy is meant to change), turns
// every blank into "+" and evaluates it, so "48 1/2" gives 48.5.
float EvalNumber(std::string& text, ExpressionEvaluator& evaluator);
float EvalNumber(std::string_view text, ExpressionEvaluator& evaluator);

// The text repeated n times; nothing for n below 1.
std::string RepeatText(int n, std::string_view text);

// Nearest integer, halves to even, held to the 16-bit (32-bit) range; a value
// that is no number gives 0. `clamped` is set when the range was exceeded.
// Inline for the usual whole number in range: readers convert nearly every
// field of a file.
std::int16_t RoundToInt16(double value, bool* clamped);
std::int32_t RoundToInt32(double value, bool* clamped);

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

inline std::int16_t ToInt16(double value, bool* clamped = nullptr) {
  if (value >= -32768.0 && value <= 32767.0 && value == static_cast<double>(static_cast<std::int16_t>(value))) {
    if (clamped) *clamped = false;
    return static_cast<std::int16_t>(value);
  }
  return RoundToInt16(value, clamped);
}

inline std::int32_t ToInt32(double value, bool* clamped = nullptr) {
  if (value >= -2147483648.0 && value <= 2147483647.0 && value == static_cast<double>(static_cast<std::int32_t>(value))) {
    if (clamped) *clamped = false;
    return static_cast<std::int32_t>(value);
  }
  return RoundToInt32(value, clamped);
}

}  // namespace orl
