// The PLC side of the workstation: opening and closing the link, the scan
// timer and the operator's diagnostics clicks.
#include "saw/plc/attempt.h"
#include "saw/plc/dig_io.h"
#include "saw/plc/link_factory.h"
#include "saw/plc/operator_requests.h"
#include "saw/plc/scan_sequence.h"
#include "saw/shell/wait_seconds.h"
#include "saw/workstation/scan_host_adapter.h"
#include "saw/workstation/workstation.h"

namespace orl {
namespace {

constexpr const char* kPortFailureTitle = "Alert";

}  // namespace

bool Workstation::OpenPlc(bool simulate) { return OpenPlc(PlcLinkSpecFromSettings(settings, simulate), clock); }

bool Workstation::OpenPlc(const PlcLinkSpec& linkChoice, const Clock& linkClock) {
  if (!linkChoice.invalidSetting.empty()) {
    ui.ShowMessage(linkChoice.invalidSetting, MessageIcon::Exclamation, kPortFailureTitle);
    return false;
  }
  try {
    link = MakePlcLink(linkChoice, linkClock);
    if (const auto failure = OpenPlcLink(*link)) {
      ui.ShowMessage(*failure, MessageIcon::Exclamation, kPortFailureTitle);
      return false;
    }
    DigIOSetup(plc.DigIO, settings);
  } catch (const std::exception&) {
    // Whatever failed while opening, the operator is told the port is taken.
    ui.ShowMessage(PortInUseText(linkChoice.portNumber), MessageIcon::Exclamation, kPortFailureTitle);
    return false;
  }
  plc.OutputWrite = kNothingPending;
  plc.RelayWrite = kNothingPending;
  plc.positions = EmptyPosList();
  cutBookLabels.Clear();
  return true;
}

void Workstation::End() {
  ScanTimerEnabled = false;   // before events are pumped: no new tick starts
  WaitSeconds(1, clock, ui);  // a scan tick in progress finishes
  try {
    if (link) link->Close();
  } catch (const std::exception&) {
    // Closing never fails.
  }
}

void Workstation::ScanTick() { scanCycle.Tick(); }

TransferPlan Workstation::PrepareScan() {
  TransferPlan plan;
  if (!ScanTimerEnabled || !link) return plan;
  Attempt([&] { plan = PrepareTransfer(plc, MacPar, link->LinkOpen()); });
  return plan;
}

void Workstation::ApplyScan(const TransferPlan& plan, const TransferResult& result) {
  plc.log.MaxLogLen = MaxLogLen;
  Attempt([&] { ApplyTransfer(plc, plan, result); });
}

void Workstation::SequenceScan() {
  if (!ScanTimerEnabled || !link) return;
  ScanHostAdapter host(*this);
  Sequence(plc, host);
}

void Workstation::DigIOClicked(int row, int column) { DigIOClick(plc, row, column); }

void Workstation::ManualPositionEdited(const std::string& text) { plc.manual.ManPos = text; }

void Workstation::ManualTemplateLengthClicked(bool ticked) { plc.manual.TLen = ticked; }

void Workstation::ManualClampLengthClicked(bool ticked) { plc.manual.CLen = ticked; }

void Workstation::ManualUnitsClicked(int unitIndex) { plc.manual.MUnits = unitIndex == kManualInch ? kManualInch : kManualMetric; }

void Workstation::ManualGrooveClicked(bool ticked) { plc.manual.ManGrv = ticked; }

void Workstation::ManualSendClicked() { ManSndClick(plc); }

void Workstation::ClearLogClicked() { ClrCommLogClick(plc); }

}  // namespace orl
