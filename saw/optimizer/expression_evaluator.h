// Value of a text read as an arithmetic expression (48+1/2 is 48.5).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace mu {
class Parser;
}

namespace orl {

class ExpressionEvaluator {
 public:
  ExpressionEvaluator();
  ~ExpressionEvaluator();
  ExpressionEvaluator(const ExpressionEvaluator&) = delete;
  ExpressionEvaluator& operator=(const ExpressionEvaluator&) = delete;

  // Text that is no valid expression (empty text included) gives 0. An
  // expression that divides by zero or overflows gives its value as it is
  // (infinite or not a number): what that reads as is the reader's rule.
  double Evaluate(std::string_view text);

 private:
  std::unique_ptr<mu::Parser> parser_;
  std::unordered_map<std::string, double> cache_;
};

// Reads a plain decimal number ("12", "-3.25", ".5") without the expression
// machinery; false when the text is anything else.
bool ReadPlainDecimal(std::string_view text, double& value);

// Reads "a+b/c", "a-b/c", "a/b", "a+b" and "a-b" of plain decimals exactly
// as the expression parser would; false for anything else.
bool ReadSimpleFraction(std::string_view text, double& value);

}  // namespace orl
