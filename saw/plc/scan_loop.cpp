#include "saw/plc/scan_loop.h"

#include "saw/plc/attempt.h"

namespace orl {

void ScanTick(PlcState& state, PlcLink& link, ScanHost& host) {
  TransferPlan plan;
  Attempt([&] { plan = PrepareTransfer(state, host.MacPar(), link.LinkOpen()); });
  const TransferResult result = Transfer(link, plan);
  Attempt([&] { ApplyTransfer(state, plan, result); });
  Sequence(state, host);
}

}  // namespace orl
