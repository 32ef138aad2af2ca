#include "saw/optimizer/expression_evaluator.h"

#include <muParser.h>

#include <charconv>
#include <cmath>
#include <string>

namespace orl {

namespace {
// No field of an optimizer file comes near this; a longer text is not a
// number, and refusing it keeps a hostile line from costing the parser time.
constexpr std::size_t MaxExpressionLength = 4096;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

bool ReadPlainDecimal(std::string_view text, double& value) {
  std::size_t i = 0;
  if (i < text.size() && text[i] == '-') ++i;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0 || i != text.size()) return false;
  // from_chars takes no leading '-' before a '.', so read the magnitude.
  std::string_view magnitude = text[0] == '-' ? text.substr(1) : text;
  double result = 0;
  auto [end, ec] = std::from_chars(magnitude.data(), magnitude.data() + magnitude.size(), result,
                                   std::chars_format::fixed);
  if (ec != std::errc() || end != magnitude.data() + magnitude.size()) return false;
  value = text[0] == '-' ? -result : result;
  return true;
}

ExpressionEvaluator::ExpressionEvaluator() : parser_(std::make_unique<mu::Parser>()) {}
ExpressionEvaluator::~ExpressionEvaluator() = default;

double ExpressionEvaluator::Evaluate(std::string_view text) {
  double plain = 0;
  if (ReadPlainDecimal(text, plain)) return plain;  // the common case, kept cheap
  if (text.empty() || text.size() > MaxExpressionLength) return 0;
  try {
    parser_->SetExpr(std::string(text));
    double result = parser_->Eval();
    return std::isnan(result) ? 0 : result;
  } catch (const mu::Parser::exception_type&) {
    return 0;
  } catch (const std::exception&) {
    return 0;
  }
}

}  // namespace orl
