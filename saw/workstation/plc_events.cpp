// The PLC side of the workstation: opening and closing the link, the scan
// timer and the operator's diagnostics clicks.
#include "saw/plc/attempt.h"
#include "saw/plc/dig_io.h"
#include "saw/plc/link_factory.h"
#include "saw/plc/operator_requests.h"
#include "saw/plc/scan_sequence.h"
#include "saw/plc/serialized_link.h"
#include "saw/shell/orl_settings.h"
#include "saw/shell/wait_seconds.h"
#include "saw/workstation/scan_host_adapter.h"
#include "saw/workstation/workstation.h"

namespace orl {
namespace {

constexpr const char* kPortFailureTitle = "Alert";

// What one tick's transfers take on a serial line; a network or the
// simulated PLC is measured as the ticks run.
int WireFloorMs(const PlcLinkSpec& linkChoice, bool handOverInOneTick) {
  SerialLine line;
  if (linkChoice.kind != LinkKind::Rtu || !ParseSerialLine(linkChoice.settings, line)) return 0;
  return ScanTickWireMs(line, handOverInOneTick);
}

}  // namespace

bool Workstation::OpenPlc(bool simulate) { return OpenPlc(PlcLinkSpecFromSettings(settings_, simulate), clock_); }

bool Workstation::OpenPlc(const PlcLinkSpec& linkChoice, const Clock& linkClock) {
  if (!linkChoice.invalidSetting.empty()) {
    ui_.ShowMessage(linkChoice.invalidSetting, MessageIcon::Exclamation, kPortFailureTitle);
    return false;
  }
  std::unique_ptr<PlcLink> made;
  try {
    made = MakePlcLink(linkChoice, linkClock);
  } catch (const std::exception&) {
    ui_.ShowMessage(PortInUseText(linkChoice.portNumber), MessageIcon::Exclamation, kPortFailureTitle);
    return false;
  }
  return OpenPlcOn(std::move(made), WireFloorMs(linkChoice, HandOverInOneTickSetting()));
}

bool Workstation::OpenPlc(std::unique_ptr<PlcLink> link) { return OpenPlcOn(std::move(link), 0); }

bool Workstation::HandOverInOneTickSetting() const {
  return FlagSetting(Setting(section::kConfiguration, key::kHandOverInOneTick));
}

bool Workstation::OpenPlcOn(std::unique_ptr<PlcLink> link, int wireFloorMs) {
  link_ = std::move(link);
  try {
    if (const auto failure = OpenPlcLink(*link_)) {
      ui_.ShowMessage(*failure, MessageIcon::Exclamation, kPortFailureTitle);
      return false;
    }
    DigIOSetup(plc_.DigIO, settings_);
  } catch (const std::exception&) {
    // Whatever failed while opening, the operator is told the port is taken.
    ui_.ShowMessage(PortInUseText(link_->PortNumber()), MessageIcon::Exclamation, kPortFailureTitle);
    return false;
  }
  plc_.OutputWrite = kNothingPending;
  plc_.RelayWrite = kNothingPending;
  plc_.positions = EmptyPosList();
  cutBookLabels_.Clear();
  const int intervalMs = ScanIntervalSetting(Setting(section::kConfiguration, key::kScanIntervalMs), kDefaultScanIntervalMs);
  scanCycle_.SetTiming(intervalMs, HandOverInOneTickSetting(), wireFloorMs);
  return true;
}

void Workstation::AttachRecorder(std::unique_ptr<Recorder> recorder) { recording_.Attach(std::move(recorder)); }

void Workstation::ShareLinkWithTransferThread() {
  if (link_ && !dynamic_cast<SerializedLink*>(link_.get())) link_ = std::make_unique<SerializedLink>(std::move(link_));
}

void Workstation::End() {
  ScanTimerEnabled_ = false;   // before events are pumped: no new tick starts
  WaitSeconds(1, clock_, ui_);  // a scan tick in progress finishes
  try {
    if (link_) link_->Close();
  } catch (const std::exception&) {
    // Closing never fails.
  }
}

void Workstation::ScanTick() { scanCycle_.Tick(); }

TransferPlan Workstation::PrepareScan() {
  TransferPlan plan;
  if (!ScanTimerEnabled_ || !link_) return plan;
  Attempt([&] { plan = PrepareTransfer(plc_, MacPar_, link_->LinkOpen()); });
  return plan;
}

void Workstation::ApplyScan(const TransferPlan& plan, const TransferResult& result) {
  plc_.log.MaxLogLen = MaxLogLen_;
  Attempt([&] { ApplyTransfer(plc_, plan, result); });
  Attempt([&] { recording_.AfterTransfer(); });
}

void Workstation::SequenceScan() {
  if (!ScanTimerEnabled_ || !link_) return;
  ScanHostAdapter host(*this);
  Sequence(plc_, host);
  Attempt([&] { recording_.AfterSequence(); });
}

void Workstation::DigIOClicked(int row, int column) { DigIOClick(plc_, row, column); }

void Workstation::ManualPositionEdited(const std::string& text) { plc_.manual.ManPos = text; }

void Workstation::ManualTemplateLengthClicked(bool ticked) { plc_.manual.TLen = ticked; }

void Workstation::ManualClampLengthClicked(bool ticked) { plc_.manual.CLen = ticked; }

void Workstation::ManualUnitsClicked(int unitIndex) { plc_.manual.MUnits = unitIndex == kManualInch ? kManualInch : kManualMetric; }

void Workstation::ManualGrooveClicked(bool ticked) { plc_.manual.ManGrv = ticked; }

void Workstation::ManualSendClicked() { ManSndClick(plc_); }

void Workstation::ClearLogClicked() { ClrCommLogClick(plc_); }

void Workstation::FollowCommunicationLog(CommLog::LineObserver observer) { plc_.log.SetObserver(std::move(observer)); }

}  // namespace orl
