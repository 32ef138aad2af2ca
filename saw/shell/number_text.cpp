#include "saw/shell/number_text.h"

#include <cmath>
#include <cstdio>

namespace orl {

std::string PlainNumberText(double value) {
  if (std::isnan(value)) return "0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.7g", static_cast<double>(static_cast<float>(value)));
  std::string text(buffer);
  if (text == "-0") text = "0";
  return text;
}

std::string SignedNumberText(double value) {
  std::string text = PlainNumberText(value);
  return text[0] == '-' ? text : " " + text;
}

}  // namespace orl
