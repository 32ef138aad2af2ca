#pragma once
// What the operator's clicks on the PLC controls ask for. They only prepare
// values; the scan loop performs the transfers.
#include "saw/plc/plc_state.h"

namespace orl {

// A click on a DigIO cell: an output or relay cell replaces the pending
// output or relay word with the image as last read, that point flipped.
void DigIOClick(PlcState& state, int row, int column);

// "Send" in the "Manual Position" frame.
void ManSndClick(PlcState& state);

// "Clear" beside the communication log.
inline void ClrCommLogClick(PlcState& state) { state.log.Clear(); }

}  // namespace orl
