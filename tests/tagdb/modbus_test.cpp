// Reads and writes in the Modbus family, including scaled reads through tags.
#include "library_fixture.h"

namespace queldb::testing {
namespace {

class ModbusTest : public LibraryTest {
 protected:
  void SetUp() override { Start("Modbus"); }
};

TEST_F(ModbusTest, WriteStoresTheIndexRangeFromItsStartOnConsecutiveRegisters) {
  Write("40001", Values({10, 20, 30}), 3);
  EXPECT_EQ(ReadOne("1;40001"), Variant(10));
  EXPECT_EQ(ReadOne("1;40003"), Variant(30));
  Write(Variant(40101), Values({10, 20, 30}), 3, 2);
  EXPECT_EQ(ReadOne("1;40101"), Variant(20));
  EXPECT_EQ(ReadOne("1;40102"), Variant(30));
  EXPECT_EQ(ReadOne("1;40103"), kZero);
  Write("40201", Values({7}), 1, -1);  // index -1 at 40201: index 1 lands two further on
  EXPECT_EQ(ReadOne("1;40203"), Variant(7));
  EXPECT_EQ(ReadOne("1;40201"), kZero);
  // Index 1 would lie 2^31 + 1 registers on: refused at once, nothing stored.
  EXPECT_EQ(Write("40301", Values({8}), 1, INT32_MIN), Variant(false));
  EXPECT_EQ(Write("1;2147483647", Values({1, 2}), 2), Variant(false));
  EXPECT_EQ(ReadOne("1;2147483647"), kZero);
}

TEST_F(ModbusTest, ValuesKeepTheirTypeAndRouteSelectsTheKey) {
  Write("3;12;40001", Values({"text", 2.5, true}), 3);
  EXPECT_EQ(ReadOne("3;12;40001"), Variant("text"));
  EXPECT_EQ(ReadOne(" 3; 12;40002"), Variant(2.5));
  EXPECT_EQ(ReadOne("3;12;40003"), Variant(true));
  EXPECT_EQ(ReadOne("40001"), kZero);  // unit 1, never written
}

TEST_F(ModbusTest, RepeatedReadsSeeLaterWrites) {
  // Text and whole numbers are remembered by the read cache; a Double is not.
  for (Variant address : {Variant("1;40001"), Variant(40002), Variant(int16_t{7}), Variant(40003.0)}) {
    EXPECT_EQ(ReadOne(address), kZero);
    Write(address, Values({5}));
    EXPECT_EQ(ReadOne(address), Variant(5));
    Write(address, Values({"six"}));
    EXPECT_EQ(ReadOne(address), Variant("six"));
  }
}

TEST_F(ModbusTest, ZeroCountsBecomeOneAndAreWrittenBack) {
  Db db;
  Variant address("40001"), values = Values({7});
  int16_t numOfRegs = 0, ioType = 0;
  int32_t fromStart = 0;
  db.WriteToDatabase(address, values, numOfRegs, fromStart, ioType);
  EXPECT_EQ(numOfRegs, 1);
  EXPECT_EQ(fromStart, 1);
  Variant response;
  int16_t readCount = 0;
  int32_t ioIdx = 0;
  EXPECT_EQ(db.ReadPLCValue(address, response, readCount, ioType, ioIdx), kTrue);
  EXPECT_EQ(readCount, 1);
  EXPECT_EQ(response, Variant(7));
}

// A write to an address that names no register marks the address False; a
// read of one fails and leaves the response as it was.
TEST_F(ModbusTest, UnknownTagsAndMalformedAddressesStoreAndReadNothing) {
  for (Variant bad : {Variant("NoSuchTag"), Variant(";40001"), Variant("1;2;3;4;5;6;40001"), Variant()}) {
    SCOPED_TRACE(bad.ToText().value_or("(empty)"));
    if (!bad.IsEmpty()) EXPECT_EQ(Write(bad, Values({1})), Variant(false));
    Variant response("before");
    EXPECT_EQ(Read(bad, response), kFalse);
    EXPECT_EQ(response, Variant("before"));
  }
  EXPECT_EQ(ReadOne("1;40001"), kZero);
  EXPECT_EQ(Write("40001", Variant(5)), Variant("40001"));  // not an array: nothing stored, address kept
  EXPECT_EQ(ReadOne("40001"), kZero);
}

TEST_F(ModbusTest, FloatPairsCombineWholeAndTenThousandths) {
  Write("40001", Values({123, 4567, 1, 5000}), 4);
  EXPECT_EQ(ReadOne("40001", ioFloat), Variant(123.4567));
  Variant response = Variant::Array(2);
  EXPECT_EQ(Read("40001", response, 2, ioFloat), kTrue);
  EXPECT_EQ(*response.Element(1), Variant(123.4567));
  EXPECT_EQ(*response.Element(2), Variant(1.5));
  // The second register was never written: the pair cannot be formed.
  EXPECT_EQ(ReadOne("40004", ioFloat), kZero);
}

TEST_F(ModbusTest, SingleBitOfAStoredValue) {
  Write("40001", Values({8, 7, 256}), 3);
  EXPECT_EQ(ReadOne("40001", ioBits, 3), Variant(1));
  EXPECT_EQ(ReadOne("40002", ioBits, 3), Variant(0));
  // No such bit: a single read does not run on into 40003, whose bit 8 is set.
  EXPECT_EQ(ReadOne("40001", ioBits, 40), kZero);
}

TEST_F(ModbusTest, BitsRunOnIntoTheNextRegister) {
  Write("40001", Values({int32_t{0xFC00}, int32_t{0x2AAA}}), 2);
  Variant response = Variant::Array(20);
  ASSERT_EQ(Read("40001", response, 20, ioBits, 10), kTrue);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(*response.Element(k), Variant(1)) << k;  // bits 10..15
  for (int k = 7; k <= 20; ++k) {
    int bit = k - 7;  // bits 0..13 of the second register
    EXPECT_EQ(*response.Element(k), Variant((0x2AAA >> bit) & 1)) << k;
  }
}

// A read remembers the items of its registers as far as they are stored; a
// register stored afterwards is read from then on, in every kind of read.
TEST_F(ModbusTest, RereadsOfSeveralRegistersSeeTheRegistersStoredSince) {
  Write("40001", Values({1, 2}), 2);
  Variant block = Variant::Array(3), pairs = Variant::Array(2), bits = Variant::Array(2);
  auto readAll = [&] {
    ASSERT_EQ(Read("40001", block, 3), kTrue);
    ASSERT_EQ(Read("40001", pairs, 2, ioFloat), kTrue);
    ASSERT_EQ(Read("40001", bits, 2, ioBits, 63), kTrue);  // bit 15 of 40004, bit 0 of 40005
  };
  readAll();
  EXPECT_EQ(*block.Element(3), kZero);
  EXPECT_EQ(*pairs.Element(2), kZero);
  EXPECT_EQ(*bits.Element(2), kZero);
  Write("40003", Values({3, 5000, 1}), 3);
  readAll();
  EXPECT_EQ(*block.Element(3), Variant(3));
  EXPECT_EQ(*pairs.Element(2), Variant(3.5));
  EXPECT_EQ(*bits.Element(1), Variant(0));  // 5000 has bit 15 clear
  EXPECT_EQ(*bits.Element(2), Variant(1));
}

TEST_F(ModbusTest, MultipleReadNeedsAnArrayAndFillsOnlyItsElements) {
  Write("40001", Values({1, 2, 3}), 3);
  Variant single(99);
  EXPECT_EQ(Read("40001", single, 3), kTrue);
  EXPECT_EQ(single, Variant(99));
  Variant shortArray = Variant::Array(2);
  EXPECT_EQ(Read("40001", shortArray, 3), kTrue);
  EXPECT_EQ(shortArray, Values({1, 2}));
  Variant one = Variant::Array(1);
  EXPECT_EQ(Read("40002", one), kTrue);
  EXPECT_EQ(one, Values({2}));
}

class ScaledModbusTest : public LibraryTest {
 protected:
  void SetUp() override {
    StartWithTags("Modbus", {{"Speed", "1;40001", 0.1, 0.0}, {"Temp", "2;40020", 2.0, 5.0},
                             {"Flow", "1;40030", 10.0, 1.0}, {"Bare", "40050", 0.1, 0.0}});
  }
};

TEST_F(ScaledModbusTest, ScaleComesFromTheTagFoundByNameOrRoutedAddress) {
  Write("1;40001", Values({250}));
  Variant response;
  EXPECT_EQ(Read("1;40001", response, 1, ioScaledWord), kTrue);
  EXPECT_EQ(response, Variant(25.0));
  EXPECT_EQ(Read("speed", response, 1, ioScaledWord), kTrue);
  EXPECT_EQ(response, Variant(25.0));
  Variant notArray(7);  // a multiple read fills no non-array, and scales nothing
  EXPECT_EQ(Read("Speed", notArray, 2, ioScaledWord), kTrue);
  EXPECT_EQ(notArray, Variant(7));

  Write("TEMP", Values({10, 20}), 2);  // a write by name uses the tag's address
  EXPECT_EQ(ReadOne("2;40021"), Variant(20));
  Variant pair = Variant::Array(2);
  EXPECT_EQ(Read("Temp", pair, 2, ioScaledDWord), kTrue);
  EXPECT_EQ(pair, Values({30.0, 50.0}));

  Write("40030", Values({2, 5000}), 2);
  EXPECT_EQ(ReadOne("Flow", ioScaledFloat), Variant(35.0));  // combined, then scaled
}

// A plain number has no route, and a tag whose address has none is never
// found by a routed one: the raw value stays.
TEST_F(ScaledModbusTest, WithoutARouteOnBothSidesNoTagIsFoundForScaling) {
  Write("1;40001", Values({250}));
  Variant response;
  EXPECT_EQ(Read("40001", response, 1, ioScaledWord), kFalse);
  EXPECT_EQ(response, Variant(250));
  Write("1;40050", Values({250}));
  for (const char* address : {"1;40050", "Bare"}) {
    Variant raw;
    EXPECT_EQ(Read(address, raw, 1, ioScaledWord), kFalse) << address;
    EXPECT_EQ(raw, Variant(250)) << address;
  }
  EXPECT_EQ(Read("Bare", response, 1, ioScaledString), kTrue);  // 24 is not scaled
}

TEST_F(LibraryTest, NoProtocolReadsAndWritesNothing) {
  Start("modbus");  // names are matched with their case
  Variant values = Values({5});
  Write("40001", values);
  Variant response("kept");
  EXPECT_EQ(Read("40001", response), kTrue);
  EXPECT_EQ(response, Variant("kept"));
}

// The overloads a host writes without variables for every argument.
TEST_F(ScaledModbusTest, EverydayCallsTakePlainValuesAndLiterals) {
  Db db;
  EXPECT_EQ(db.WriteToDatabase("40001", Values({250, 7}), 2), kTrue);
  EXPECT_EQ(db.WriteToDatabase("NoSuchTag", Values({1})), kFalse);
  Variant response;
  EXPECT_EQ(db.ReadPLCValue("40002", response), kTrue);
  EXPECT_EQ(response, Variant(7));
  EXPECT_EQ(db.ReadPLCValue("Speed", response, 1, ioScaledWord), kTrue);
  EXPECT_EQ(response, Variant(25.0));
  EXPECT_EQ(db.WriteQuePLC("1;40003", 12.5, 1, ioFloat), kTrue);
  std::optional<QueuedWrite> entry = db.ReadQueData();
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->address, Variant("1;40003"));
  EXPECT_EQ(entry->value, Variant(12.5));
  EXPECT_EQ(entry->ioDataType, ioFloat);
  EXPECT_FALSE(db.ReadQueData());
}

}  // namespace
}  // namespace queldb::testing
