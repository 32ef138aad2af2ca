#include "saw/plc/read_plc.h"

#include <cstdlib>
#include <string>

#include "saw/plc/attempt.h"
#include "saw/plc/register_map.h"

namespace orl {
namespace {

bool Usable(const PlcLink& link) { return link.LinkOpen() && !link.LinkBusy(); }

int ReadOnce(PlcLink& link, int address, PlcWords2& buffer, int count) {
  int ok = 0;
  Attempt([&] { ok = link.ReadWords(address, buffer, count); });
  return ok;
}

}  // namespace

ReadOutcome TransferRead(PlcLink& link, int address, bool confirm) {
  ReadOutcome out;
  out.count = address < 0 ? 1 : 2;
  const int plcAddress = std::abs(address);
  if (!Usable(link)) return out;
  out.ran = true;
  out.ok = ReadOnce(link, plcAddress, out.buffer, out.count) != 0;
  if (!out.ok) return out;
  if (!confirm) {
    out.result = out.buffer[0];
    return out;
  }
  int ok2 = 0;
  int i = 1;
  for (; i <= kConfirmAttempts; ++i) {
    out.result = out.buffer[0];
    if (Usable(link)) ok2 = ReadOnce(link, plcAddress, out.buffer, out.count);
    if (out.buffer[0] == out.result && ok2 != 0) break;
  }
  out.attempts = i;
  if (i > kConfirmAttempts) out.result = -1;
  return out;
}

std::int32_t ApplyRead(PlcState& state, const ReadOutcome& outcome, ReadDecoding decoding) {
  if (!outcome.ran) return -1;
  if (!outcome.ok) {
    state.log.LogComm(kLogReadPlc);
    return -1;
  }
  if (outcome.attempts > 2) {
    state.CmAtvty = std::to_string(outcome.attempts);
    state.log.LogComm(kLogPollRetry + std::to_string(outcome.attempts));
  }
  if (outcome.count == 2 && outcome.result >= 0 && decoding == ReadDecoding::Bcd)
    return DecodeBcd(outcome.result, outcome.buffer[1]);
  return outcome.result;
}

std::int32_t ReadPLC(PlcLink& link, PlcState& state, int address, bool confirm) {
  return ApplyRead(state, TransferRead(link, address, confirm), ReadDecoding::Bcd);
}

std::int32_t ReadImage(PlcLink& link, PlcState& state, int address) {
  return ApplyRead(state, TransferRead(link, address, true), ReadDecoding::RawBits);
}

}  // namespace orl
