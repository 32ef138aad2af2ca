#include "saw/ui/scan_driver.h"

#include "saw/ui/serialized_link.h"

namespace orl {

ScanDriver::ScanDriver(Workstation& workstation, QObject* parent) : QObject(parent), ws_(workstation) {
  TimerScan.setInterval(kScanIntervalMs);
  Timer1.setInterval(kHousekeepingIntervalMs);
  connect(&TimerScan, &QTimer::timeout, this, [this] { Timed([this] { OnScanTick(); }); });
  connect(&Timer1, &QTimer::timeout, this, [this] {
    ws_.HousekeepingTick();
    emit stateChanged();
  });
  linkOwner_ = new QObject;
  linkOwner_->moveToThread(&worker_);
  connect(&worker_, &QThread::finished, linkOwner_, &QObject::deleteLater);
}

ScanDriver::~ScanDriver() { StopWorker(); }

void ScanDriver::Start() {
  // The window's thread and the worker both reach the link from now on.
  if (ws_.link && !dynamic_cast<SerializedLink*>(ws_.link.get()))
    ws_.link = std::make_unique<SerializedLink>(std::move(ws_.link));
  if (!worker_.isRunning()) worker_.start();
  TimerScan.start();
  Timer1.start();
}

void ScanDriver::StopWorker() {
  TimerScan.stop();
  Timer1.stop();
  worker_.quit();
  worker_.wait();
}

void ScanDriver::Timed(const std::function<void()>& work) {
  if (!workTimer_) return work();
  const auto start = std::chrono::steady_clock::now();
  work();
  workTimer_(std::chrono::steady_clock::now() - start);
}

void ScanDriver::OnScanTick() {
  if (inFlight_) {
    ws_.SequenceScan();
    emit stateChanged();
    return;
  }
  const TransferPlan plan = ws_.PrepareScan();
  if (plan.kind == TransferKind::None) {
    OnTransferDone(plan, ws_.link ? Transfer(*ws_.link, plan) : TransferResult{});
    return;
  }
  if (!worker_.isRunning()) {  // the PLC is never reached from the window's thread
    ws_.SequenceScan();
    emit stateChanged();
    return;
  }
  inFlight_ = true;
  PlcLink* link = ws_.link.get();
  QMetaObject::invokeMethod(linkOwner_, [this, link, plan] {
    const TransferResult result = Transfer(*link, plan);
    QMetaObject::invokeMethod(
        this, [this, plan, result] { Timed([&] { OnTransferDone(plan, result); }); }, Qt::QueuedConnection);
  }, Qt::QueuedConnection);
}

void ScanDriver::OnTransferDone(const TransferPlan& plan, const TransferResult& result) {
  inFlight_ = false;
  ws_.ApplyScan(plan, result);
  ws_.SequenceScan();
  emit stateChanged();
}

}  // namespace orl
