#pragma once
// The alert line shown beside the cut list: what the operator must know
// without opening the communication log.
#include <string>

#include "saw/plc/plc_state.h"

namespace orl {

inline constexpr const char* kAlertLinkLost = "PLC not answering";
inline constexpr const char* kAlertCauseSeparator = ": ";
inline constexpr const char* kAlertLabelsHead = "Label file cannot be written: ";
inline constexpr const char* kAlertLabelWaiting = " label waiting";
inline constexpr const char* kAlertLabelsWaiting = " labels waiting";
inline constexpr const char* kAlertSeparator = "  |  ";

// "PLC not answering: <cause>" while the link is lost, and "Label file
// cannot be written: 3 labels waiting" while labels wait, joined; empty
// when all is well.
std::string OperatorAlert(const PlcState& state);

}  // namespace orl
