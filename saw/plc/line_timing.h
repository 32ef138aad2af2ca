#pragma once
// How long Modbus RTU transactions keep a serial line busy, so that the
// scan tick is never set shorter than the transfers one tick makes.
#include "saw/plc/modbus_link.h"

namespace orl {

// Bytes of the Modbus RTU frames the scan uses (address, function code,
// fields, CRC).
inline constexpr int kReadRequestBytes = 8;
int ReadResponseBytes(int words);
inline constexpr int kWriteOneRequestBytes = 8;
inline constexpr int kWriteOneResponseBytes = 8;
int WriteManyRequestBytes(int words);
inline constexpr int kWriteManyResponseBytes = 8;

// Milliseconds of one request and its response on the line: each
// character is a start bit, its data bits, a parity bit when the line has
// one and its stop bits; each frame ends with 3.5 characters of silence.
double RtuTransactionMs(const SerialLine& line, int requestBytes, int responseBytes);

}  // namespace orl
