#include "saw/plc/manual_position.h"

#include "saw/shell/machine_parameters.h"
#include "saw/shell/text_number.h"

namespace orl {

std::int32_t ManualTarget(const ManualPosition& manual, const CellGrid& macPar) {
  std::int32_t extra = 0;
  if (manual.CLen) extra += RoundHalfEven(MachineParameter(macPar, kClampLengthRow) * 10);
  if (manual.TLen) extra += RoundHalfEven(MachineParameter(macPar, kTemplateLengthRow) * 10);
  const double factor = manual.MUnits == kManualMetric ? 1.0 : kMillimetresPerInch;
  return RoundHalfEven(Val(manual.ManPos) * factor * 10 + extra);
}

}  // namespace orl
