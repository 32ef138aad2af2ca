#include "saw/optimizer/eval_number.h"

#include "saw/shell/path_parts.h"
#include "saw/shell/text_number.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orl {

template <typename Int>
Int RoundClamped(double value, bool* clamped) {
  constexpr double low = std::numeric_limits<Int>::min();
  constexpr double high = std::numeric_limits<Int>::max();
  if (std::isnan(value)) value = 0;
  const double held = std::clamp(value, low - 0.5, high + 0.5);  // rounds to the range's ends at most
  const std::int32_t rounded = std::clamp<std::int32_t>(RoundHalfEven(held), low, high);
  if (clamped) *clamped = value < low - 0.5 || value > high + 0.5 || rounded != RoundHalfEven(held);
  return static_cast<Int>(rounded);
}

float EvalNumber(std::string& text, ExpressionEvaluator& evaluator) {
  text = TrimBlanks(text);
  for (char& c : text)
    if (c == ' ') c = '+';
  return static_cast<float>(evaluator.Evaluate(text));
}

float EvalNumber(std::string_view text, ExpressionEvaluator& evaluator) {
  // A plain decimal has no blanks to trim or turn, and the evaluator would
  // read it the same way: most fields end here.
  if (double plain = 0; ReadPlainDecimal(text, plain)) return static_cast<float>(plain);
  if (text.find(' ') == std::string_view::npos) return static_cast<float>(evaluator.Evaluate(text));  // nothing to change
  std::string copy(text);
  return EvalNumber(copy, evaluator);
}

std::string RepeatText(int n, std::string_view text) {
  std::string result;
  if (n < 1) return result;
  result.reserve(static_cast<std::size_t>(n) * text.size());
  for (int i = 0; i < n; ++i) result.append(text);
  return result;
}

template std::int16_t RoundClamped<std::int16_t>(double, bool*);
template std::int32_t RoundClamped<std::int32_t>(double, bool*);

}  // namespace orl
