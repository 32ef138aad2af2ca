// Conversions of the variant type that reads and keys depend on.
#include <string_view>
#include <type_traits>

#include "library_fixture.h"

namespace queldb {
namespace {

// Every integer type builds a Variant without ambiguity; pointers and single
// characters build none (a pointer would otherwise become a Boolean).
static_assert(std::is_constructible_v<Variant, long> && std::is_constructible_v<Variant, long long> &&
              std::is_constructible_v<Variant, unsigned> && std::is_constructible_v<Variant, unsigned long> &&
              std::is_constructible_v<Variant, int8_t> && std::is_constructible_v<Variant, uint16_t> &&
              std::is_constructible_v<Variant, std::size_t> && std::is_constructible_v<Variant, enIODataType>);
static_assert(!std::is_constructible_v<Variant, int*> && !std::is_constructible_v<Variant, const void*> &&
              !std::is_constructible_v<Variant, std::nullptr_t> && !std::is_constructible_v<Variant, char>);

TEST(Variant, IntegersOfEveryWidthKeepTheirValue) {
  EXPECT_EQ(Variant(int8_t{-5}), Variant(int16_t{-5}));
  EXPECT_EQ(Variant(uint8_t{200}), Variant(int16_t{200}));
  EXPECT_EQ(Variant(uint16_t{65535}), Variant(int32_t{65535}));
  EXPECT_EQ(Variant(40001L), Variant(int32_t{40001}));
  EXPECT_EQ(Variant(4000000000u), Variant(4e9));
  EXPECT_EQ(Variant(-5000000000LL), Variant(-5e9));
  EXPECT_EQ(Variant(ioScaledWord), Variant(int16_t{20}));
  EXPECT_EQ(Variant(std::string_view("ab")), Variant("ab"));
}

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
