#pragma once
// Phase 2 of a scan tick: answering the PLC's control relays on the images
// as last read. "Set To Beginning" rebuilds the target list, "Send Next
// Pos" hands over the next target (or a waiting manual position), "Position
// Sent" clears the highlight and "Disable Programming" locks the cut list.
// Runs on every tick, also while the link is closed. A book label the label
// file does not take waits and goes out before the next one.
#include "saw/plc/plc_state.h"
#include "saw/plc/scan_host.h"

namespace orl {

inline constexpr const char* kActivityIdle = " ";
inline constexpr const char* kActivityNotAnswering = "PLC not answering";
inline constexpr const char* kLogLabelFileFailed = "Label file cannot be written: ";
inline constexpr const char* kLogLabelFileBack = "Label file written again: ";
inline constexpr const char* kLogLabelDropped = "Label dropped, too many waiting for the label file";

void Sequence(PlcState& state, ScanHost& host);

}  // namespace orl
