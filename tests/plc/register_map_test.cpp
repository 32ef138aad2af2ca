// The register map: address mapping, BCD words, relay bits, hexadecimal
// text and the communication log, which a long failure does not flood.
#include <gtest/gtest.h>

#include "saw/plc/plc_state.h"
#include "saw/plc/register_map.h"

namespace orl {
namespace {

TEST(PlcRegisterMap, PlcAddressesAreOctalRegisters) {
  EXPECT_EQ(ModbusRegister(2000), 1024);
  EXPECT_EQ(ModbusRegister(1076), 574);
  EXPECT_EQ(ModbusRegister(40400), 16640);
  EXPECT_EQ(ModbusRegister(40500), 16704);
  EXPECT_EQ(ModbusRegister(40634), 16796);
  EXPECT_EQ(ModbusRegister(2003), 1027);
  EXPECT_EQ(ModbusRegister(1078), -1);  // 8 is no octal digit
}

TEST(PlcRegisterMap, TargetsAndCreepDistanceAreBcdLowWordFirst) {
  EXPECT_EQ(TargetBlock(13228, 1000), (PlcWords4{0x3228, 0x1, 0x1000, 0}));
  EXPECT_EQ(TargetBlock(8196, 1000), (PlcWords4{0x8196, 0, 0x1000, 0}));
  EXPECT_EQ(BcdWords(99999999), (PlcWords2{0x9999, 0x9999}));
  EXPECT_EQ(BcdWords(0), (PlcWords2{0, 0}));
}

TEST(PlcRegisterMap, DecodeBcdKeepsTheFirstWordWhenANibbleIsNotDecimal) {
  EXPECT_EQ(DecodeBcd(0x1234, 0x0005), 51234);
  EXPECT_EQ(DecodeBcd(0x00AB, 0), 171);
  EXPECT_EQ(DecodeBcd(0x0010, 0), 10);
  EXPECT_EQ(DecodeBcd(0, 0), 0);
  EXPECT_EQ(DecodeBcd(0x3228, 0x1), 13228);  // round trip of a target
}

TEST(PlcRegisterMap, HexTextValueCountsCapitalsOnly) {
  EXPECT_EQ(HexTextValue("  1000  "), 4096);
  EXPECT_EQ(HexTextValue("1f"), 1);
  EXPECT_EQ(HexTextValue("FF"), 255);
  EXPECT_EQ(HexTextValue(""), 0);
  EXPECT_EQ(HexTextValue("-12"), 0x12);
  EXPECT_EQ(HexTextValue("1 f 2"), 0x12);
}

TEST(PlcRegisterMap, SetRelayBitRaisesTheWholeRelayWord) {
  PlcState state;
  SetRelayBit(state, 701, 1);
  EXPECT_EQ(state.RelayImage, 2);
  EXPECT_EQ(state.RelayWrite, 2);
  SetRelayBit(state, 710, -1);
  EXPECT_EQ(state.RelayImage, 2 + 256);
  EXPECT_TRUE(RelayBit(state, 710));
  SetRelayBit(state, 701, 2);  // even clears
  EXPECT_EQ(state.RelayWrite, 256);
  EXPECT_FALSE(RelayBit(state, 701));

  SetRelayBit(state, 17, 1);  // relays 10..17 are bits 8..15
  EXPECT_TRUE(RelayBit(state, 717));

  PlcState untouched;
  SetRelayBit(untouched, 708, 1);
  EXPECT_EQ(untouched.RelayImage, 0);
  EXPECT_EQ(untouched.RelayWrite, kNothingPending);
  EXPECT_FALSE(RelayBit(untouched, 8));
}

TEST(PlcCommLog, KeepsTheNewestLinesWithDateAndTime) {
  CommLog log;
  log.SetStampSource([] { return std::string("2026-12-08 ; 10:00:00"); });
  log.LogComm("ignored without a log");
  EXPECT_TRUE(log.Lines().empty());

  log.MaxLogLen = 3;
  for (const char* text : {"a", "b", "c", "d"}) log.LogComm(text);
  ASSERT_EQ(log.Lines().size(), 3u);
  EXPECT_EQ(log.Lines().front(), "2026-12-08 ; 10:00:00 ; b");
  EXPECT_EQ(log.Lines().back(), "2026-12-08 ; 10:00:00 ; d");
  EXPECT_EQ(log.SelectedLine(), 2);
  log.Clear();
  EXPECT_TRUE(log.Lines().empty());
}

TEST(PlcCommLogRepeats, ARepeatedAttemptIsCountedOnOneLine) {
  CommLog log;
  int second = 0;
  log.SetStampSource([&] { return "D ; " + std::to_string(second++); });
  log.MaxLogLen = 10;
  std::vector<std::string> observed;
  log.SetObserver([&](const std::string& line) { observed.push_back(line); });
  log.LogRepeating("again");
  log.LogRepeating("again");
  log.LogRepeating("again");
  ASSERT_EQ(log.Lines().size(), 1u);
  EXPECT_EQ(log.Lines().back(), "D ; 2 ; again (repeated 3 times)");
  EXPECT_EQ(observed.back(), log.Lines().back());

  log.LogComm("other");  // anything in between starts the count anew
  log.LogRepeating("again");
  ASSERT_EQ(log.Lines().size(), 3u);
  EXPECT_EQ(log.Lines().back(), "D ; 4 ; again");
  log.LogComm("plain");
  log.LogComm("plain");  // ordinary lines are never folded
  EXPECT_EQ(log.Lines().size(), 5u);
}

TEST(PlcCommLogRepeats, TheLineThatOpenedAFailureStaysWhileItLasts) {
  CommLog log;
  log.SetStampSource([] { return std::string("D ; T"); });
  log.MaxLogLen = 3;
  log.LogComm("before");
  const CommLog::LineId lost = log.LogKept("lost");
  for (const char* text : {"a", "b", "c", "d"}) log.LogComm(text);
  EXPECT_EQ(log.Lines(), (std::deque<std::string>{"D ; T ; lost", "D ; T ; c", "D ; T ; d"}));
  log.Release(lost);
  log.LogComm("e");
  EXPECT_EQ(log.Lines(), (std::deque<std::string>{"D ; T ; c", "D ; T ; d", "D ; T ; e"}));

  log.MaxLogLen = 1;  // a log of one line shows the newest, kept or not
  log.LogKept("kept");
  log.LogComm("newest");
  EXPECT_EQ(log.Lines(), (std::deque<std::string>{"D ; T ; newest"}));
}

}  // namespace
}  // namespace orl
