#pragma once
// The words the saw's PLC exchanges with the program, their encodings and
// the control relay numbering.
#include <cstdint>
#include <string_view>

#include "saw/plc/plc_link.h"

namespace orl {

// PLC address digits (octal V-memory addresses).
inline constexpr int kInputAddress = 40400;     // X0..X7, bit image
inline constexpr int kOutputAddress = 40500;    // Y0..Y5, bit image
inline constexpr int kRelayAddress = 40634;     // relays 700..717, bit image
inline constexpr int kPositionAddress = 1076;   // actual pusher position, tenths of a mm
inline constexpr int kTargetAddress = 2000;     // target + creep distance block, BCD
inline constexpr int kTargetBlockWords = 4;

// Control relays the program reads or raises.
inline constexpr int kRelaySetToBeginning = 700;
inline constexpr int kRelaySendNextPos = 701;
inline constexpr int kRelayDisableProgramming = 702;
inline constexpr int kRelayPositionSent = 710;
inline constexpr int kRelayGroove = 712;
inline constexpr int kRelayLastCut = 713;
inline constexpr int kRelayManualPos = 714;
inline constexpr int kRelayNewBoard = 715;

// The Modbus holding register of a PLC address: its digits read as octal
// (V2000 -> 1024, V40634 -> 16796). -1 when a digit is 8 or 9.
int ModbusRegister(int plcAddress);

// Bit of a relay in the relay word: 700..717 or 0..17; 0..7 are bits 0..7,
// 10..17 bits 8..15; -1 for 8, 9 and anything else.
int RelayBitIndex(int relay);

// Trimmed text read as hexadecimal digits from the last character to the
// first; 'A'..'F' count 10..15, digits their value; any other character
// counts nothing ("1f" is 1).
std::int32_t HexTextValue(std::string_view text);

// The two-word BCD form of n, low word first.
PlcWords2 BcdWords(std::int32_t n);

// The target block: target, then creep distance, both in tenths of a mm.
PlcWords4 TargetBlock(std::int32_t target, std::int32_t creepTenths);

// A two-word read taken as one 8-digit BCD number (high word second); when
// a nibble is above 9 the first word is returned as read.
std::int32_t DecodeBcd(std::int32_t lowWord, std::int32_t highWord);

}  // namespace orl
