#pragma once
// Reading the PLC: a read with an optional confirm-and-retry (two
// consecutive reads must agree on the first word), logged on failure.
// The link part and the bookkeeping part are separate so the transfer can
// run away from the program's state.
#include <cstdint>

#include "saw/plc/plc_link.h"
#include "saw/plc/plc_state.h"

namespace orl {

inline constexpr int kConfirmAttempts = 5;

// What one read did on the link.
struct ReadOutcome {
  bool ran = false;         // link was open and not busy
  bool ok = false;          // the first read succeeded
  int attempts = 0;         // confirm loop count: 1 = first re-read agreed, 6 = never agreed
  std::int32_t result = -1; // the confirmed first word, -1 when it never settled
  PlcWords2 buffer{};       // words of the last read
  int count = 2;
};

// The link part: a negative address reads one word at |address|, otherwise
// two words. A read that throws counts as a failed read.
ReadOutcome TransferRead(PlcLink& link, int address, bool confirm);

enum class ReadDecoding { Bcd, RawBits };

// The bookkeeping part: "Read PLC" on failure, "Poll Retry<n>" and CmAtvty
// after three or more attempts; a two-word value is decoded as BCD unless
// it is a bit image. Returns the value or -1.
std::int32_t ApplyRead(PlcState& state, const ReadOutcome& outcome, ReadDecoding decoding);

// Both parts in a row.
std::int32_t ReadPLC(PlcLink& link, PlcState& state, int address, bool confirm);

// A confirmed two-word read of an image, the first word's bits as read.
std::int32_t ReadImage(PlcLink& link, PlcState& state, int address);

}  // namespace orl
