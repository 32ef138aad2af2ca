#include "saw/plc/scan_loop.h"

#include "saw/plc/attempt.h"

namespace orl {

void ScanTick(PlcState& state, PlcLink& link, ScanHost& host, bool handOverInOneTick) {
  TransferPlan plan;
  Attempt([&] { plan = PrepareTransfer(state, host.MacPar(), link.LinkOpen()); });
  for (int transfers = 1;; ++transfers) {
    const TransferResult result = Transfer(link, plan);
    Attempt([&] { ApplyTransfer(state, plan, result); });
    Sequence(state, host);
    if (!handOverInOneTick || transfers == kMaxTransfersPerTick) return;
    TransferPlan next;
    Attempt([&] { next = PrepareTransfer(state, host.MacPar(), link.LinkOpen()); });
    if (!WritesOnInSameTick(plan, result, next)) return;
    plan = next;
  }
}

}  // namespace orl
