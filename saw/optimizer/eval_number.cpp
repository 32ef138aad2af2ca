#include "saw/optimizer/eval_number.h"

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

namespace {
constexpr std::string_view Blanks = " \t";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsOperandCharacter(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '.' || c == '_';
}
bool EndsOperand(char c) { return IsOperandCharacter(c) || c == ')'; }
bool StartsOperand(char c) { return IsOperandCharacter(c) || c == '('; }
}  // namespace

void JoinBlanks(std::string& text) {
  const std::size_t first = text.find_first_not_of(Blanks);
  if (first == std::string::npos) return text.clear();
  const std::size_t last = text.find_last_not_of(Blanks);
  std::size_t kept = 0;
  for (std::size_t i = first; i <= last;) {
    if (!IsBlank(text[i])) {
      text[kept++] = text[i++];
      continue;
    }
    const std::size_t next = text.find_first_not_of(Blanks, i);  // within the trimmed text: never npos
    // Only a blank between two numbers stands for "+"; beside an operator it
    // is spacing, and a "+" there would make a second operator.
    if (EndsOperand(text[kept - 1]) && StartsOperand(text[next])) text[kept++] = '+';
    i = next;
  }
  text.resize(kept);
}

float EvalNumber(std::string& text, ExpressionEvaluator& evaluator) {
  JoinBlanks(text);
  return static_cast<float>(evaluator.Evaluate(text));
}

float EvalNumber(std::string_view text, ExpressionEvaluator& evaluator) {
  // A plain decimal has no blanks to trim or turn, and the evaluator would
  // read it the same way: most fields end here.
  if (double plain = 0; ReadPlainDecimal(text, plain)) return static_cast<float>(plain);
  if (std::none_of(text.begin(), text.end(), IsBlank)) return static_cast<float>(evaluator.Evaluate(text));  // nothing to change
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
