#pragma once
// Numbers written into captions and labels the way the saw program shows
// them: single precision, at most seven significant digits, no trailing zeros.
#include <string>

namespace orl {

// Plain form: "2440", "1219.2", "-0.5", "48.5".
std::string PlainNumberText(double value);

// Signed form: a leading blank for zero and positive numbers, the minus sign
// for negative ones (" 2440", "-3").
std::string SignedNumberText(double value);

}  // namespace orl
