#include "saw/shell/text_number.h"

#include <gtest/gtest.h>

namespace orl {
namespace {

TEST(Val, ReadsTheLeadingNumberLeniently) {
  EXPECT_EQ(Val(""), 0);
  EXPECT_EQ(Val("COM2"), 0);
  EXPECT_EQ(Val("abc"), 0);
  EXPECT_EQ(Val("12abc"), 12);
  EXPECT_DOUBLE_EQ(Val("  3.5"), 3.5);
  EXPECT_DOUBLE_EQ(Val("-4.25mm"), -4.25);
  EXPECT_DOUBLE_EQ(Val(".5"), 0.5);
  EXPECT_EQ(Val("1 2"), 12);  // blanks inside a number are skipped
  EXPECT_EQ(Val("1e3"), 1000);
  EXPECT_EQ(Val("12e"), 12);
  EXPECT_EQ(Val("1.2.3"), 1.2);
  EXPECT_EQ(Val("0x1A"), 0);  // no hexadecimal
  EXPECT_EQ(Val("inf"), 0);
  EXPECT_EQ(Val("1e999"), 0);  // overflow reads as no number rather than infinity
}

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(8169.33), 8169);
  EXPECT_EQ(RoundHalfEven(2.51), 3);
}

TEST(RoundHalfEven, SaturatesInsteadOfWrapping) {
  EXPECT_EQ(RoundHalfEven(1e12), 2147483647);
  EXPECT_EQ(RoundHalfEven(-1e12), -2147483647 - 1);
}

TEST(FormatMask, ForcedAndOptionalDigits) {
  EXPECT_EQ(FormatMask(1322.8, "###0.0"), "1322.8");
  EXPECT_EQ(FormatMask(0.04, "###0.0"), "0.0");
  EXPECT_EQ(FormatMask(0.25, "###0.0"), "0.3");  // halves away from zero
  EXPECT_EQ(FormatMask(-0.25, "###0.0"), "-0.3");
  EXPECT_EQ(FormatMask(12, "#####.#"), "12.");
  EXPECT_EQ(FormatMask(0, "#####.#"), ".");
  EXPECT_EQ(FormatMask(12, "###0.0"), "12.0");
  EXPECT_EQ(FormatMask(0.5, "#####.#"), ".5");
  EXPECT_EQ(FormatMask(503.25, "#####.#"), "503.3");
}

TEST(NumberCellText, DropsTrailingZeros) {
  EXPECT_EQ(NumberCellText(1319.6f, 1), "1319.6");
  EXPECT_EQ(NumberCellText(303.2f, 1), "303.2");
  EXPECT_EQ(NumberCellText(0.00003, 1), "0");
  EXPECT_EQ(NumberCellText(-0.00003, 1), "0");
  EXPECT_EQ(NumberCellText(51.9685, 3), "51.969");
}

}  // namespace
}  // namespace orl
