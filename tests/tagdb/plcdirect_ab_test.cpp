// The PLCDirect family (octal reads, decimal writes) and the Allen-Bradley family.
#include "library_fixture.h"

namespace queldb::testing {
namespace {

class PlcDirectTest : public LibraryTest {
 protected:
  void SetUp() override { Start("PLCDirect"); }
};

TEST_F(PlcDirectTest, ReadsTakeRegisterDigitsAsOctalAndFailOnOthers) {
  Write("1;V,1024", Values({11, 12}), 2);
  EXPECT_EQ(ReadOne("1;V,2000"), Variant(11));
  EXPECT_EQ(ReadOne("1;v,2001"), Variant(12));
  Write("1;X,16", Values({5}));
  EXPECT_EQ(ReadOne("1;X,20"), Variant(5));
  Write("V,1024", Values({3}));
  EXPECT_EQ(ReadOne("V,2000"), Variant(3));  // station 0
  Variant response("kept");
  EXPECT_EQ(Read("1;V,2080", response), kFalse);
  EXPECT_EQ(Read("1;V,19", response), kFalse);
  EXPECT_EQ(response, Variant("kept"));
}

TEST_F(PlcDirectTest, PlainNumbersWriteUnderStationZeroButReadUnderUnitOne) {
  Write(Variant(1024), Values({9}));
  EXPECT_EQ(ReadOne(Variant(1024)), kZero);  // the read looks under 1;1024
  EXPECT_EQ(ReadOne("0;2000"), Variant(9));  // 0;,1024 read the octal way
}

TEST_F(PlcDirectTest, ScaledReadsFindNoTag) {
  StartWithTags("PLCDirectECOM", {{"Pump", "1;V,2000", 0.5, 0.0}});
  Write("1;V,1024", Values({8}));
  Variant response;
  EXPECT_EQ(Read("Pump", response, 1, ioScaledWord), kFalse);
  EXPECT_EQ(response, Variant(8));
}

class AbTest : public LibraryTest {
 protected:
  void SetUp() override { Start("ABDH"); }
};

TEST_F(AbTest, SingleValueFillsConsecutiveElements) {
  Write("N7:10", Variant(5), 3);
  EXPECT_EQ(ReadOne("N7:10"), Variant(5));
  EXPECT_EQ(ReadOne("n7:12"), Variant(5));
  EXPECT_EQ(ReadOne("N7:13"), kZero);
  Write("T4:1.2", Values({6, 7}), 2);
  EXPECT_EQ(ReadOne("T4:2.2"), Variant(7));
  EXPECT_EQ(ReadOne("T4:2"), kZero);
}

TEST_F(AbTest, NamedBitsAndBitsAcrossWords) {
  Write("N7:10", Values({8, 9}), 2);
  EXPECT_EQ(ReadOne("N7:10/3"), Variant(1));
  EXPECT_EQ(ReadOne("N7:10/2"), Variant(0));
  EXPECT_EQ(ReadOne("N7:10/19"), Variant(0));  // a single read stays in its word: not bit 3 of N7:11
  EXPECT_EQ(ReadOne("N7/163"), Variant(1));  // short form: element 10, bit 3
  Variant bits = Variant::Array(2);
  EXPECT_EQ(Read("N7:10/15", bits, 2), kTrue);
  EXPECT_EQ(bits, Values({0, 1}));  // bit 15 of N7:10, bit 0 of N7:11
}

TEST_F(AbTest, AddressesWithoutABitReadBitsFromIoIdxWithIoType18) {
  Write("N7:10", Values({8, 1}), 2);
  EXPECT_EQ(ReadOne("N7:10", ioBits, 3), Variant(1));
  EXPECT_EQ(ReadOne("N7:10", ioBits, 2), Variant(0));
  EXPECT_EQ(ReadOne(Values({7, 7, 10, 0}), ioBits, 3), Variant(1));
  EXPECT_EQ(ReadOne("N7:10/2", ioBits, 3), Variant(0));  // the named bit wins
  Variant bits = Variant::Array(2);
  EXPECT_EQ(Read("N7:10", bits, 2, ioBits, 15), kTrue);
  EXPECT_EQ(bits, Values({0, 1}));  // bit 15 of N7:10, bit 0 of N7:11
}

TEST_F(AbTest, KeysOfFilesWithoutPrefixAndUnknownLetters) {
  Write("ST9:4", Variant(1));
  EXPECT_EQ(ReadOne("A3:4"), Variant(1));  // both keyed 0;4
  Write("xyz7:3", Variant(2));
  EXPECT_EQ(ReadOne("B7:3"), Variant(2));
  Write("O5:1", Variant(3));
  EXPECT_EQ(ReadOne("O:1"), Variant(3));
}

TEST_F(AbTest, FourElementArrayAddressesWholeWords) {
  Variant address = Values({7, 7, 10, 0});
  Write(address, Values({21, 22}), 2);
  EXPECT_EQ(ReadOne("N7:11"), Variant(22));
  EXPECT_EQ(ReadOne(address), Variant(21));
  EXPECT_EQ(ReadOne(Values({4, 4, 1, 3})), kZero);
  EXPECT_EQ(Write(Values({7, 7}), Variant(1)), Variant(false));
}

TEST_F(AbTest, FloatFileSetsIoTypeToFloat) {
  Db db;
  Variant address("F8:0"), value(2.5);
  int16_t numOfRegs = 1, ioType = 0;
  int32_t fromStart = 1, ioIdx = 0;
  db.WriteToDatabase(address, value, numOfRegs, fromStart, ioType);
  EXPECT_EQ(ioType, ioFloat);
  Variant response;
  ioType = ioScaledFloat;
  EXPECT_EQ(db.ReadPLCValue(address, response, numOfRegs, ioType, ioIdx), kTrue);
  EXPECT_EQ(ioType, ioFloat);
  EXPECT_EQ(response, Variant(2.5));
}

TEST_F(AbTest, ScaledReadsUseTheTagNamedByTheAddress) {
  StartWithTags("ABDHPlus", {{"Press", "N7:0", 2.0, 1.0}});
  Write("N7:0", Values({4, 6}), 2);
  Variant both = Variant::Array(2);
  EXPECT_EQ(Read("Press", both, 2, ioScaledWord), kTrue);
  EXPECT_EQ(both, Values({10.0, 6}));  // only the first value is scaled
  Variant response;
  EXPECT_EQ(Read("N7:0", response, 1, ioScaledWord), kFalse);
  EXPECT_EQ(response, Variant(4));
}

TEST_F(AbTest, UnparsableUnknownOrOutOfStoreAddresses) {
  EXPECT_EQ(Write("N7:2147483647", Variant(1), 2), Variant(false));
  EXPECT_EQ(ReadOne("N7:2147483647"), kZero);
  EXPECT_EQ(Write("N7:", Variant(1)), Variant(false));
  EXPECT_EQ(Write("Unknown", Variant(1)), Variant(false));
  EXPECT_EQ(Write(Variant(5), Variant(1)), Variant(false));
  Variant response("kept");
  EXPECT_EQ(Read("N7:x", response), kFalse);
  EXPECT_EQ(response, Variant("kept"));
}

}  // namespace
}  // namespace queldb::testing
