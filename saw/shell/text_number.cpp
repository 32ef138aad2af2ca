#include "saw/shell/text_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace orl {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Collects the characters of the leading number (blanks dropped) into a
// plain text that strtod reads without surprises (no hex, inf or nan).
std::string LeadingNumberText(std::string_view text) {
  std::string number;
  bool seenDigit = false, seenPoint = false, seenExponent = false;
  bool exponentDigits = false;
  for (char c : text) {
    if (IsBlank(c)) continue;
    const bool atStart = number.empty();
    const bool afterExponent = seenExponent && (number.back() == 'e');
    if ((c == '+' || c == '-') && (atStart || afterExponent)) {
      number += c;
    } else if (IsDigit(c)) {
      number += c;
      (seenExponent ? exponentDigits : seenDigit) = true;
    } else if (c == '.' && !seenPoint && !seenExponent) {
      number += c;
      seenPoint = true;
    } else if ((c == 'e' || c == 'E' || c == 'd' || c == 'D') && seenDigit && !seenExponent) {
      number += 'e';
      seenExponent = true;
    } else {
      break;
    }
  }
  if (seenExponent && !exponentDigits) {
    // "12e" or "12e+" read as 12.
    while (!number.empty() && (number.back() == 'e' || number.back() == '+' || number.back() == '-'))
      number.pop_back();
  }
  return seenDigit ? number : std::string();
}

}  // namespace

double Val(std::string_view text) {
  const std::string number = LeadingNumberText(text);
  if (number.empty()) return 0.0;
  // from_chars does not take a leading '+'.
  const char* first = number.data() + (number[0] == '+' ? 1 : 0);
  double value = 0.0;
  const auto [end, error] = std::from_chars(first, number.data() + number.size(), value);
  return error == std::errc() && std::isfinite(value) ? value : 0.0;
}

std::int32_t RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  const double rounded = std::nearbyint(value);  // default rounding mode: halves to even
  if (rounded >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  if (rounded <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(rounded);
}

double RoundHalfAwayFromZero(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::round(value * scale) / scale;
}

std::string FormatMask(double value, std::string_view mask) {
  const auto point = mask.find('.');
  const int decimals = point == std::string_view::npos ? 0 : static_cast<int>(mask.size() - point - 1);
  const auto integerMask = mask.substr(0, point);
  const int minIntegerDigits = static_cast<int>(integerMask.size() - integerMask.find('0'));
  const int forcedDigits = integerMask.find('0') == std::string_view::npos ? 0 : minIntegerDigits;

  const double scale = std::pow(10.0, decimals);
  if (!std::isfinite(value) || std::fabs(value) * scale >= 9e18) {
    // Far outside any length the saw handles; keep the text sane anyway.
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, std::isfinite(value) ? value : 0.0);
    return buffer;
  }
  const long long scaled = std::llround(std::fabs(value) * scale);
  const long long whole = scaled / static_cast<long long>(scale);
  const long long fraction = scaled % static_cast<long long>(scale);

  std::string text = (value < 0 && scaled != 0) ? "-" : "";
  std::string wholeText = whole == 0 ? std::string() : std::to_string(whole);
  if (static_cast<int>(wholeText.size()) < forcedDigits)
    wholeText.insert(0, forcedDigits - wholeText.size(), '0');
  text += wholeText;
  if (point != std::string_view::npos) {
    text += '.';
    std::string fractionText = std::to_string(fraction);
    fractionText.insert(0, decimals - fractionText.size(), '0');
    // '#' places after the point show a digit only when it is not a trailing zero.
    const auto fractionMask = mask.substr(point + 1);
    const std::size_t forced = fractionMask.find_last_of('0') == std::string_view::npos ? 0 : fractionMask.find_last_of('0') + 1;
    while (fractionText.size() > forced && fractionText.back() == '0') fractionText.pop_back();
    text += fractionText;
  }
  return text;
}

}  // namespace orl

namespace orl {

std::string NumberCellText(double value, int decimals) {
  std::string text = FormatMask(value, "0." + std::string(static_cast<std::size_t>(std::max(decimals, 0)), '0'));
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  return text == "-0" ? "0" : text;
}

}  // namespace orl
