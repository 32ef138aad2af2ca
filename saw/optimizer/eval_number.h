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
std::int16_t ToInt16(double value, bool* clamped = nullptr);
std::int32_t ToInt32(double value, bool* clamped = nullptr);

}  // namespace orl
