#include "saw/plc/plc_state.h"

#include "saw/plc/register_map.h"

namespace orl {

bool RelayBit(const PlcState& state, int relay) {
  const int bit = RelayBitIndex(relay);
  return bit >= 0 && (state.RelayImage >> bit & 1) != 0;
}

void SetRelayBit(PlcState& state, int relay, int wanted) {
  const int bit = RelayBitIndex(relay);
  if (bit < 0) return;
  if (wanted % 2 != 0) state.RelayImage |= 1 << bit;
  else state.RelayImage &= ~(1 << bit);
  state.RelayWrite = state.RelayImage;
}

}  // namespace orl
