#include "saw/optimizer/expression_evaluator.h"

#include <muParser.h>

#include <charconv>
#include <cstdint>
#include <iterator>
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

namespace {
// Reads a run of digits into `mantissa` (which may overflow; the caller
// counts the digits to know).
const char* TakeDigits(const char* p, const char* end, std::uint64_t& mantissa) {
  for (; p != end && IsDigit(*p); ++p) mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
  return p;
}

// Digits past what a 64-bit mantissa holds exactly: the full conversion.
// Kept out of line so the usual short numbers need no stack frame.
[[gnu::noinline]] bool ReadLongDecimal(std::string_view magnitude, double& result) {
  auto [last, ec] =
      std::from_chars(magnitude.data(), magnitude.data() + magnitude.size(), result, std::chars_format::fixed);
  return ec == std::errc() && last == magnitude.data() + magnitude.size();
}
}  // namespace

bool ReadPlainDecimal(std::string_view text, double& value) {
  const char* p = text.data();
  const char* const end = p + text.size();
  const bool negative = p != end && *p == '-';
  if (negative) ++p;
  std::uint64_t mantissa = 0;
  const char* const wholeStart = p;
  p = TakeDigits(p, end, mantissa);
  const std::size_t wholeDigits = static_cast<std::size_t>(p - wholeStart);
  std::size_t fractionDigits = 0;
  if (p != end && *p == '.') {
    const char* const fractionStart = ++p;
    p = TakeDigits(p, end, mantissa);
    fractionDigits = static_cast<std::size_t>(p - fractionStart);
  }
  if (wholeDigits + fractionDigits == 0 || p != end) return false;
  // 19 digits cannot overflow 64 bits. Longer texts (leading zeros too) take
  // the full conversion, which gives the same double for what fits here.
  const bool exact = wholeDigits + fractionDigits <= 19 && mantissa <= (std::uint64_t{1} << 53);
  double result = 0;
  if (exact && fractionDigits < std::size(PowersOfTen)) {
    // Both operands are exact and the division rounds once: the same double
    // a full decimal conversion gives.
    result = static_cast<double>(mantissa);
    if (fractionDigits > 0) result /= PowersOfTen[fractionDigits];  // whole numbers skip the division
  } else {
    if (!ReadLongDecimal(text.substr(negative ? 1 : 0), result)) return false;
  }
  value = negative ? -result : result;
  return true;
}

// The mixed fractions optimizers write ("48+1/2", "3/4", "10-1/8", "2+3")
// worked out with the same operations, in the same order, as the parser
// would; false for anything else.
bool ReadSimpleFraction(std::string_view text, double& value) {
  std::size_t op = 1;  // the first character may be a sign
  while (op < text.size() && text[op] != '+' && text[op] != '-' && text[op] != '/') ++op;
  if (op >= text.size()) return false;
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
  if (ReadSimpleFraction(text, plain)) return plain;
  if (text.empty() || text.size() > MaxExpressionLength) return 0;
  std::string expression(text);
  if (auto known = cache_.find(expression); known != cache_.end()) return known->second;
  double result = 0;
  try {
    parser_->SetExpr(expression);
    result = parser_->Eval();
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
