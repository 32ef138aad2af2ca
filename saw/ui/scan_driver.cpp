#include "saw/ui/scan_driver.h"

#include <sys/eventfd.h>
#include <unistd.h>


namespace orl {

ScanDriver::ScanDriver(Workstation& workstation, QObject* parent) : QObject(parent), ws_(workstation) {
  TimerScan.setInterval(kDefaultScanIntervalMs);
  Timer1.setInterval(kHousekeepingIntervalMs);
  connect(&TimerScan, &QTimer::timeout, this, &ScanDriver::Tick);
  connect(&Timer1, &QTimer::timeout, this, [this] {
    ws_.HousekeepingTick();
    emit stateChanged();
  });
  doneBell_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (doneBell_ >= 0) {
    doneNotifier_ = std::make_unique<QSocketNotifier>(doneBell_, QSocketNotifier::Read);
    connect(doneNotifier_.get(), &QSocketNotifier::activated, this, [this] {
      eventfd_t rings = 0;
      ::eventfd_read(doneBell_, &rings);
      Timed([this] { OnTransferDone(); });
    });
  }
  worker_.reset(QThread::create([this] { WorkerLoop(); }));
}

ScanDriver::~ScanDriver() {
  StopWorker();
  doneNotifier_.reset();
  if (doneBell_ >= 0) ::close(doneBell_);
}

void ScanDriver::Start() {
  // The window's thread and the worker both reach the link from now on.
  ws_.ShareLinkWithTransferThread();
  FollowCycleInterval();
  // Without the bell the outcome could never come back: no worker, so
  // ticks only sequence.
  if (doneBell_ >= 0 && !worker_->isRunning()) {
    {
      std::lock_guard lock(mailbox_.mutex);
      mailbox_.stop = false;
    }
    worker_->start();
  }
  TimerScan.start();
  Timer1.start();
}

void ScanDriver::StopWorker() {
  TimerScan.stop();
  Timer1.stop();
  {
    std::lock_guard lock(mailbox_.mutex);
    mailbox_.stop = true;
  }
  mailbox_.planned.notify_all();
  worker_->wait();  // a transfer under way finishes first
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
    const std::optional<TransferPlan> plan = ws_.scanCycle().BeginTick(worker_->isRunning());
    if (plan) Hand(*plan);
    else emit stateChanged();
  });
}

void ScanDriver::Hand(const TransferPlan& plan) {
  {
    std::lock_guard lock(mailbox_.mutex);
    mailbox_.link = ws_.link();
    mailbox_.plan = plan;
  }
  mailbox_.planned.notify_one();
}

void ScanDriver::FollowCycleInterval() {
  const int intervalMs = ws_.scanCycle().IntervalMs();
  if (intervalMs == followedIntervalMs_) return;
  followedIntervalMs_ = intervalMs;
  TimerScan.setInterval(intervalMs);
}

void ScanDriver::WorkerLoop() {
  for (;;) {
    PlcLink* link = nullptr;
    TransferPlan plan;
    {
      std::unique_lock lock(mailbox_.mutex);
      mailbox_.planned.wait(lock, [this] { return mailbox_.stop || mailbox_.plan; });
      if (mailbox_.stop) return;
      link = mailbox_.link;
      plan = *mailbox_.plan;
      mailbox_.plan.reset();
    }
    const TransferResult result = link ? Transfer(*link, plan) : TransferResult{};
    {
      std::lock_guard lock(mailbox_.mutex);
      mailbox_.done = Done{plan, result};
    }
    ::eventfd_write(doneBell_, 1);
  }
}

void ScanDriver::OnTransferDone() {
  std::optional<Done> done;
  {
    std::lock_guard lock(mailbox_.mutex);
    done.swap(mailbox_.done);
  }
  if (!done) return;
  // A write that follows in the same tick goes to the worker at once.
  if (const auto next = ws_.scanCycle().FinishTick(done->plan, done->result)) Hand(*next);
  else FollowCycleInterval();
  emit stateChanged();
}

}  // namespace orl
