#include "saw/plc/line_timing.h"

namespace orl {
namespace {

constexpr double kSilenceCharacters = 3.5;  // ends every RTU frame

}  // namespace

int ReadResponseBytes(int words) { return 5 + 2 * words; }

int WriteManyRequestBytes(int words) { return 9 + 2 * words; }

double RtuTransactionMs(const SerialLine& line, int requestBytes, int responseBytes) {
  const int bitsPerCharacter = 1 + line.dataBits + (line.parity == 'N' ? 0 : 1) + line.stopBits;
  const double characters = requestBytes + responseBytes + 2 * kSilenceCharacters;
  return characters * bitsPerCharacter * 1000.0 / line.baud;
}

}  // namespace orl
