// Conversions of the variant type that reads and keys depend on.
#include "library_fixture.h"

namespace queldb {
namespace {

TEST(Variant, NumbersFromEveryType) {
  EXPECT_EQ(Variant(true).ToDouble(), -1.0);
  EXPECT_EQ(Variant(int16_t{-7}).ToDouble(), -7.0);
  EXPECT_EQ(Variant(" 12.5 ").ToDouble(), 12.5);
  EXPECT_EQ(Variant("1e3").ToDouble(), 1000.0);
  EXPECT_FALSE(Variant("12abc").ToDouble());
  EXPECT_FALSE(Variant("inf").ToDouble());
  EXPECT_FALSE(Variant("0x10").ToDouble());
  EXPECT_FALSE(Variant().ToDouble());
  EXPECT_FALSE(Variant::Array(1).ToDouble());
  EXPECT_FALSE(Variant().IsNumeric());
  EXPECT_TRUE(Variant("-3").IsNumeric());
}

TEST(Variant, LongRoundsHalvesToEvenAndRejectsOverflow) {
  EXPECT_EQ(Variant(2.5).ToLong(), 2);
  EXPECT_EQ(Variant(3.5).ToLong(), 4);
  EXPECT_EQ(Variant(-2.5).ToLong(), -2);
  EXPECT_EQ(Variant("40001").ToLong(), 40001);
  EXPECT_FALSE(Variant(3e9).ToLong());
}

TEST(Variant, TextOfNumbersIsShortest) {
  EXPECT_EQ(Variant(0.1).ToText(), "0.1");
  EXPECT_EQ(Variant(0.1f).ToText(), "0.1");
  EXPECT_EQ(Variant(40001).ToText(), "40001");
  EXPECT_EQ(Variant(false).ToText(), "False");
  EXPECT_FALSE(Variant::Array(0).ToText());
}

}  // namespace
}  // namespace queldb
