#include "saw/ui/scan_driver.h"

#include "saw/plc/serialized_link.h"

namespace orl {

ScanDriver::ScanDriver(Workstation& workstation, QObject* parent) : QObject(parent), ws_(workstation) {
  TimerScan.setInterval(kScanIntervalMs);
  Timer1.setInterval(kHousekeepingIntervalMs);
  connect(&TimerScan, &QTimer::timeout, this, &ScanDriver::Tick);
  connect(&Timer1, &QTimer::timeout, this, [this] {
    ws_.HousekeepingTick();
    emit stateChanged();
  });
  linkOwner_ = new QObject;
  linkOwner_->moveToThread(&worker_);
  connect(&worker_, &QThread::finished, linkOwner_, &QObject::deleteLater);
  // Made before the worker starts, so the worker sees them whole.
  connect(this, &ScanDriver::transferQueued, linkOwner_, [this] { RunTransfer(); }, Qt::QueuedConnection);
  connect(this, &ScanDriver::transferDone, this, [this] { Timed([this] { OnTransferDone(); }); },
          Qt::QueuedConnection);
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
  std::lock_guard lock(mailbox_.mutex);  // whatever the worker left there is ours now
}

void ScanDriver::Timed(const std::function<void()>& work) {
  if (!workTimer_) return work();
  const auto start = std::chrono::steady_clock::now();
  work();
  workTimer_(std::chrono::steady_clock::now() - start);
}

void ScanDriver::Tick() {
  Timed([this] {
    const std::optional<TransferPlan> plan = ws_.scanCycle.BeginTick(worker_.isRunning());
    if (!plan) {
      emit stateChanged();
      return;
    }
    {
      std::lock_guard lock(mailbox_.mutex);
      mailbox_.link = ws_.link.get();
      mailbox_.plan = *plan;
      mailbox_.result.reset();
    }
    emit transferQueued();
  });
}

void ScanDriver::RunTransfer() {
  PlcLink* link = nullptr;
  TransferPlan plan;
  {
    std::lock_guard lock(mailbox_.mutex);
    link = mailbox_.link;
    plan = mailbox_.plan;
  }
  const TransferResult result = link ? Transfer(*link, plan) : TransferResult{};
  {
    std::lock_guard lock(mailbox_.mutex);
    mailbox_.result = result;
  }
  emit transferDone();
}

void ScanDriver::OnTransferDone() {
  TransferPlan plan;
  TransferResult result;
  {
    std::lock_guard lock(mailbox_.mutex);
    if (!mailbox_.result) return;
    plan = mailbox_.plan;
    result = *mailbox_.result;
    mailbox_.result.reset();
  }
  ws_.scanCycle.FinishTick(plan, result);
  emit stateChanged();
}

}  // namespace orl
