#pragma once
// Numbers live as text in grid cells and settings; these helpers read and
// format them the way the cut list and the PLC displays expect.
#include <cstdint>
#include <string>
#include <string_view>

namespace orl {

// Lenient text-to-number: the leading decimal number of the text. Blanks
// anywhere are skipped, reading stops at the first character that cannot
// continue the number; empty or non-numeric text reads as 0 ("COM2" -> 0,
// "12abc" -> 12, " 3.5e1" -> 35).
double Val(std::string_view text);

// Conversion to an integer the way the saw program does it everywhere:
// nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
// Values outside the 32-bit range saturate instead of wrapping.
std::int32_t RoundHalfEven(double value);

// Rounds to a number of decimals with halves away from zero, as a display
// mask does (0.25 -> 0.3 with one decimal).
double RoundHalfAwayFromZero(double value, int decimals);

// Formats with a digit mask such as "###0.0" or "#####.#": the digits after
// the point are always written (rounded halves away from zero); a '0' before
// the point forces that many integer digits, a '#' writes a digit only when
// there is one ("#####.#" formats 12 as "12." and 0.5 as ".5").
std::string FormatMask(double value, std::string_view mask);

}  // namespace orl

namespace orl {

// The text a number cell with the given decimal places holds for value:
// rounded halves away from zero, without trailing zeros ("303.2", "0",
// "1319.6").
std::string NumberCellText(double value, int decimals);

}  // namespace orl
