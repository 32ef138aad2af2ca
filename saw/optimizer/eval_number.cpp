#include "saw/optimizer/eval_number.h"

#include "saw/shell/path_parts.h"
#include "saw/shell/text_number.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orl {

namespace {
template <typename Int>
Int ToIntClamped(double value, bool* clamped) {
  constexpr double low = std::numeric_limits<Int>::min();
  constexpr double high = std::numeric_limits<Int>::max();
  double rounded = std::isnan(value) ? 0 : std::nearbyint(value);
  if (clamped) *clamped = rounded < low || rounded > high;
  return static_cast<Int>(RoundHalfEven(std::clamp(rounded, low, high)));
}
}  // namespace

float EvalNumber(std::string& text, ExpressionEvaluator& evaluator) {
  text = TrimBlanks(text);
  for (char& c : text)
    if (c == ' ') c = '+';
  return static_cast<float>(evaluator.Evaluate(text));
}

float EvalNumber(std::string_view text, ExpressionEvaluator& evaluator) {
  std::string copy = TrimBlanks(text);
  return EvalNumber(copy, evaluator);
}

std::string RepeatText(int n, std::string_view text) {
  std::string result;
  if (n < 1) return result;
  result.reserve(static_cast<std::size_t>(n) * text.size());
  for (int i = 0; i < n; ++i) result.append(text);
  return result;
}

std::int16_t ToInt16(double value, bool* clamped) { return ToIntClamped<std::int16_t>(value, clamped); }
std::int32_t ToInt32(double value, bool* clamped) { return ToIntClamped<std::int32_t>(value, clamped); }

}  // namespace orl
