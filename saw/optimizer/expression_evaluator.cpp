#include "saw/optimizer/expression_evaluator.h"

#include <muParser.h>

#include <charconv>
#include <cstdint>
#include <iterator>
#include <cmath>
#include <string>

namespace orl {

namespace {
// No field of an optimizer file comes near this; a longer text is not a
// number, and refusing it keeps a hostile line from costing the parser time.
constexpr std::size_t MaxExpressionLength = 4096;
// Files repeat the same few expressions; parsing one costs microseconds.
constexpr std::size_t MaxCachedExpressions = 4096;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

constexpr double PowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
}  // namespace

bool ReadPlainDecimal(std::string_view text, double& value) {
  std::size_t i = 0;
  const bool negative = i < text.size() && text[i] == '-';
  if (negative) ++i;
  std::uint64_t mantissa = 0;
  std::size_t digits = 0, fractionDigits = 0;
  bool exact = true;  // the mantissa stayed within 2^53
  auto take = [&](char c) {
    mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
    if (mantissa > (std::uint64_t{1} << 53)) exact = false;
    ++digits;
  };
  while (i < text.size() && IsDigit(text[i]) && exact) take(text[i++]);
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i]) && exact) take(text[i++]), ++fractionDigits;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0 || i != text.size()) return false;
  double result = 0;
  if (exact && fractionDigits < std::size(PowersOfTen)) {
    // Both operands are exact and the division rounds once: the same double
    // a full decimal conversion gives.
    result = static_cast<double>(mantissa) / PowersOfTen[fractionDigits];
  } else {
    const std::string_view magnitude = text.substr(negative ? 1 : 0);
    auto [end, ec] = std::from_chars(magnitude.data(), magnitude.data() + magnitude.size(), result,
                                     std::chars_format::fixed);
    if (ec != std::errc() || end != magnitude.data() + magnitude.size()) return false;
  }
  value = negative ? -result : result;
  return true;
}

// The mixed fractions optimizers write ("48+1/2", "3/4", "10-1/8", "2+3")
// worked out with the same operations, in the same order, as the parser
// would; false for anything else.
bool ReadSimpleFraction(std::string_view text, double& value) {
  std::size_t op = text.find_first_of("+-/", 1);
  if (op == std::string_view::npos) return false;
  double a = 0, b = 0, c = 0;
  if (!ReadPlainDecimal(text.substr(0, op), a)) return false;
  std::string_view rest = text.substr(op + 1);
  if (rest.empty() || rest[0] == '-') return false;
  if (text[op] == '/') {
    if (!ReadPlainDecimal(rest, b)) return false;
    value = a / b;
    return true;
  }
  const std::size_t slash = rest.find('/');
  if (slash == std::string_view::npos) {
    if (!ReadPlainDecimal(rest, b)) return false;
    value = text[op] == '+' ? a + b : a - b;
    return true;
  }
  if (!ReadPlainDecimal(rest.substr(0, slash), b) || !ReadPlainDecimal(rest.substr(slash + 1), c)) return false;
  if (rest[slash + 1] == '-') return false;
  value = text[op] == '+' ? a + b / c : a - b / c;
  return true;
}

ExpressionEvaluator::ExpressionEvaluator() : parser_(std::make_unique<mu::Parser>()) {}
ExpressionEvaluator::~ExpressionEvaluator() = default;

double ExpressionEvaluator::Evaluate(std::string_view text) {
  double plain = 0;
  if (ReadPlainDecimal(text, plain)) return plain;  // the common case, kept cheap
  if (ReadSimpleFraction(text, plain)) return std::isnan(plain) ? 0 : plain;
  if (text.empty() || text.size() > MaxExpressionLength) return 0;
  std::string expression(text);
  if (auto known = cache_.find(expression); known != cache_.end()) return known->second;
  double result = 0;
  try {
    parser_->SetExpr(expression);
    result = parser_->Eval();
    if (std::isnan(result)) result = 0;
  } catch (const mu::Parser::exception_type&) {
    result = 0;
  } catch (const std::exception&) {
    result = 0;
  }
  if (cache_.size() >= MaxCachedExpressions) cache_.clear();
  cache_.emplace(std::move(expression), result);
  return result;
}

}  // namespace orl
