#pragma once
// One scan tick: prepare, transfer, apply, sequence in a row; with the
// hand-over in one tick, the writes the sequencing left pending follow in
// the same tick.
#include "saw/plc/plc_link.h"
#include "saw/plc/plc_state.h"
#include "saw/plc/scan_host.h"
#include "saw/plc/scan_sequence.h"
#include "saw/plc/scan_transfer.h"

namespace orl {

void ScanTick(PlcState& state, PlcLink& link, ScanHost& host, bool handOverInOneTick = false);

}  // namespace orl
