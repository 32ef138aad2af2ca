#pragma once
// The "Manual Position" frame: the operator types a position, optionally
// adds the clamp or template length, and presses "Send"; the scan loop
// takes the value when the PLC is ready for it.
#include <cstdint>
#include <string>

#include "saw/shell/cell_grid.h"

namespace orl {

inline constexpr const char* kManPosInitialText = "0000.0";
inline constexpr Rgb kManPosWaitingColor = 0xFF8000;  // orange: sent, not yet taken
inline constexpr Rgb kManPosTakenColor = 0x0000C0;    // dark blue

enum ManualUnit { kManualMetric = 0, kManualInch = 1 };

struct ManualPosition {
  std::string ManPos = kManPosInitialText;
  Rgb ManPosColor = kBlack;
  bool CLen = false;    // "Clamp Len"
  bool TLen = false;    // "Template Len"
  int MUnits = kManualMetric;
  bool ManGrv = false;  // "Groove"
};

// The manual target in tenths of a mm: the typed value (inches converted
// unless "Metric" is selected) plus the ticked clamp and template lengths
// of the machine parameters, rounded halves to even.
std::int32_t ManualTarget(const ManualPosition& manual, const CellGrid& macPar);

}  // namespace orl
