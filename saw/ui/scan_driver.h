#pragma once
// The two timers of the window and the thread the PLC transfers run on.
// `TimerScan` drives the workstation's scan cycle: a tick begins on the
// window's thread, its transfer (if the cycle asks for one) runs on the
// worker thread that owns the link, and the tick finishes back on the
// window's thread. What a tick does is the scan cycle's business; this
// driver only decides when and on which thread. `Timer1` (2000 ms) keeps
// the file lists current.
//
// The two threads meet only in a mailbox under a std::mutex: the worker
// waits on its condition for a plan, and rings an eventfd that a socket
// notifier watches when the outcome is in. No Qt event crosses between
// them, so a thread checker sees every hand-off.
#include <QObject>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "saw/workstation/workstation.h"

namespace orl {

inline constexpr int kHousekeepingIntervalMs = 2000;

class ScanDriver : public QObject {
  Q_OBJECT

 public:
  explicit ScanDriver(Workstation& workstation, QObject* parent = nullptr);
  ~ScanDriver() override;

  // Hands the open link to the worker thread and starts both timers.
  void Start();
  // The end sequence's first step: no more scan ticks, and no housekeeping
  // (which may ask the operator something) while the end pumps events.
  void StopScan() {
    TimerScan.stop();
    Timer1.stop();
  }
  // After the end sequence: the worker thread ends.
  void StopWorker();

  // One scan tick now, as the timer fires it.
  void Tick();
  bool TransferInFlight() const { return ws_.scanCycle().TransferInFlight(); }

  // Told how long each piece of a tick's work took on the window's thread
  // (rendering included); for the benchmarks.
  using WorkTimer = std::function<void(std::chrono::nanoseconds)>;
  void SetWorkTimer(WorkTimer timer) { workTimer_ = std::move(timer); }

  QTimer TimerScan;
  QTimer Timer1;

 signals:
  // After every step that may have changed what the window shows.
  void stateChanged();

 private:
  void WorkerLoop();      // the worker thread's life: one transfer per plan
  void OnTransferDone();  // back on the window's thread
  void Hand(const TransferPlan& plan);  // to the worker
  // The timer ticks at the cycle's interval, which a slow line raises; a
  // test's own interval stays until then.
  void FollowCycleInterval();
  // Runs work and tells the work timer how long it took.
  void Timed(const std::function<void()>& work);

  struct Done {
    TransferPlan plan;
    TransferResult result;
  };
  struct Mailbox {
    std::mutex mutex;
    std::condition_variable planned;
    bool stop = false;
    PlcLink* link = nullptr;
    std::optional<TransferPlan> plan;  // for the worker to take
    std::optional<Done> done;          // for the window's thread to take
  };

  Workstation& ws_;
  Mailbox mailbox_;
  int doneBell_ = -1;  // eventfd the worker rings when an outcome is in
  std::unique_ptr<QSocketNotifier> doneNotifier_;
  std::unique_ptr<QThread> worker_;
  WorkTimer workTimer_;
  int followedIntervalMs_ = 0;
};

}  // namespace orl
