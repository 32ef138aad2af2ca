// Address grammars, value keys and the octal reading of PLCDirect registers.
#include <gtest/gtest.h>

#include "addresses.h"

namespace queldb {
namespace {

TEST(ModbusAddress, PlainNumbersGetUnitOneAndRouteNumbersAreNormalized) {
  const struct {
    const char *text, *route, *normalized;
  } cases[] = {{"40001", "1;", "1;40001"},
               {"  2; 7;  40001", "2;7;", "2;7;40001"},
               {"007;40001", "7;", "7;40001"},
               {"1;2;3;4;5;40001", "1;2;3;4;5;", "1;2;3;4;5;40001"}};
  for (const auto& c : cases) {
    auto address = ParseModbusAddress(c.text);
    ASSERT_TRUE(address) << c.text;
    EXPECT_EQ(address->reg, 40001) << c.text;
    EXPECT_EQ(address->route, c.route) << c.text;
    EXPECT_EQ(address->normalized, c.normalized) << c.text;
  }
}

TEST(ModbusAddress, MalformedAddressesFail) {
  EXPECT_FALSE(ParseModbusAddress(";40001"));            // empty route number
  EXPECT_FALSE(ParseModbusAddress("1;;40001"));
  EXPECT_FALSE(ParseModbusAddress("1;2;3;4;5;6;40001"));  // six route numbers
  EXPECT_FALSE(ParseModbusAddress("1;reg"));
  EXPECT_FALSE(ParseModbusAddress("1;"));
  EXPECT_FALSE(ParseModbusAddress("40001x"));
  EXPECT_FALSE(ParseModbusAddress("99999;40001"));  // route number beyond 16 bits
  EXPECT_FALSE(ParseModbusAddress("1;99999999999"));
}

TEST(PlcDirectAddress, StationPrefixAndRegister) {
  const struct {
    const char* text;
    int station;
    const char* prefix;
    int reg;
  } cases[] = {{" 1;V,2000 ", 1, "V", 2000}, {"GX, 20", 0, "GX", 20}, {"2;1024", 2, "", 1024}};
  for (const auto& c : cases) {
    auto address = ParsePlcDirectAddress(c.text);
    ASSERT_TRUE(address) << c.text;
    EXPECT_EQ(address->station, c.station) << c.text;
    EXPECT_EQ(address->prefix, c.prefix) << c.text;
    EXPECT_EQ(address->reg, c.reg) << c.text;
  }
}

TEST(PlcDirectAddress, MalformedAddressesFail) {
  EXPECT_FALSE(ParsePlcDirectAddress(";V,2000"));   // no station digits
  EXPECT_FALSE(ParsePlcDirectAddress("1;V2000"));   // prefix without ","
  EXPECT_FALSE(ParsePlcDirectAddress("1;12,2000"));  // digits only before ","
  EXPECT_FALSE(ParsePlcDirectAddress("1;V,abc"));
}

struct AbCase {
  const char* text;
  int16_t fileType;
  int32_t fileNumber, element, bit, subElement;
};

TEST(AbAddress, Forms) {
  const AbCase cases[] = {
      {"N7:10", 7, 7, 10, kNoBit, 0},  {"N7:10/3", 7, 7, 10, 3, 0}, {"T4:1.2", 4, 4, 1, kNoBit, 3},
      {"T4:1.2/5", 4, 4, 1, 5, 3},     {"B3/37", 3, 3, 2, 5, 0},   {"I:1/3", 1, 1, 1, 3, 0},
      {"O5:2", 0, 0, 2, kNoBit, 0},    {"S:4", 2, 2, 4, kNoBit, 0}, {"st9:4", 13, 9, 4, kNoBit, 0},
      {"xyz7:3", 3, 7, 3, kNoBit, 0},  {"N7:10.", 7, 7, 10, kNoBit, 0}, {"F8:0", 8, 8, 0, kNoBit, 0},
  };
  for (const AbCase& c : cases) {
    SCOPED_TRACE(c.text);
    auto address = ParseAbAddress(c.text);
    ASSERT_TRUE(address);
    EXPECT_EQ(address->fileType, c.fileType);
    EXPECT_EQ(address->fileNumber, c.fileNumber);
    EXPECT_EQ(address->element, c.element);
    EXPECT_EQ(address->bit, c.bit);
    EXPECT_EQ(address->subElement, c.subElement);
  }
}

TEST(AbAddress, AddressesWithoutElementFail) {
  EXPECT_FALSE(ParseAbAddress("N7"));
  EXPECT_FALSE(ParseAbAddress("N7:"));
  EXPECT_FALSE(ParseAbAddress("N7:x"));
  EXPECT_FALSE(ParseAbAddress("N7:10/x"));
}

TEST(AbAddress, FilePrefixes) {
  EXPECT_EQ(FormatAbFilePrefix(0, 0), "O:");
  EXPECT_EQ(FormatAbFilePrefix(2, 2), "S2:");
  EXPECT_EQ(FormatAbFilePrefix(9, 9), "");
  EXPECT_EQ(AbFileTypeCode("bcd"), 10);
  EXPECT_EQ(AbFileTypeCode("CCO"), 12);
  EXPECT_EQ(AbFileTypeCode(""), 3);
}

TEST(Octal, DigitsReadInBaseEightWithin32Bits) {
  EXPECT_EQ(OctalToLong("2000"), 1024);
  EXPECT_EQ(OctalToLong(" 20 "), 16);
  EXPECT_EQ(OctalToLong("0"), 0);
  EXPECT_EQ(OctalToLong("17777777777"), 2147483647);
  EXPECT_FALSE(OctalToLong("20000000000"));  // beyond 32 bits
  EXPECT_FALSE(OctalToLong("2080"));         // 8 is no octal digit
  EXPECT_FALSE(OctalToLong("19"));
  EXPECT_FALSE(OctalToLong(""));
  EXPECT_FALSE(OctalToLong("-1"));
}

}  // namespace
}  // namespace queldb
