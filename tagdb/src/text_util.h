// Small text helpers shared by the parsers and the keyed collections.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace queldb {

bool IsBlank(char c);
bool IsDigit(char c);
std::string_view TrimLeft(std::string_view text);
std::string_view Trim(std::string_view text);
// ASCII letters a-z upper-cased; every other character as it is. Inline for
// the case-insensitive lookups, which fold every key they look up.
inline char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
std::string ToUpperAscii(std::string_view text);

// Reads the whole text (blanks around it allowed) as a decimal number with an
// optional sign, fraction and exponent. Locale-independent.
std::optional<double> ParseNumber(std::string_view text);

// Rounds to a 32-bit integer, halves to even; nullopt when out of range.
std::optional<int32_t> RoundToLong(double value);
// Reads the text as a number and rounds it to a 32-bit integer.
std::optional<int32_t> ParseLong(std::string_view text);
// A run of decimal digits as an integer that must fit in [0, limit].
std::optional<int32_t> DigitsToInt(std::string_view digits, int32_t limit);

// Shortest decimal text that reads back as the same double.
std::string FormatNumber(double value);
std::string FormatNumber(float value);

}  // namespace queldb
