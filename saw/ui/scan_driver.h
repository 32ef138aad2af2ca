#pragma once
// The two timers of the window and the thread the PLC transfers run on.
// `TimerScan` drives the workstation's scan cycle: a tick begins on the
// window's thread, its transfer (if the cycle asks for one) runs on the
// worker thread that owns the link, and the tick finishes back on the
// window's thread. What a tick does is the scan cycle's business; this
// driver only decides when and on which thread. `Timer1` (2000 ms) keeps
// the file lists current.
#include <QObject>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <functional>
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
  bool TransferInFlight() const { return ws_.scanCycle.TransferInFlight(); }

  // Told how long each piece of a tick's work took on the window's thread
  // (rendering included); for the benchmarks.
  using WorkTimer = std::function<void(std::chrono::nanoseconds)>;
  void SetWorkTimer(WorkTimer timer) { workTimer_ = std::move(timer); }

  QTimer TimerScan;
  QTimer Timer1;

 signals:
  // After every step that may have changed what the window shows.
  void stateChanged();
  // Between the two threads: a transfer waits in the mailbox, and its
  // outcome is back.
  void transferQueued();
  void transferDone();

 private:
  void RunTransfer();     // on the worker thread
  void OnTransferDone();  // back on the window's thread
  // Runs work and tells the work timer how long it took.
  void Timed(const std::function<void()>& work);

  // What passes between the window's thread and the worker, under its own
  // lock (the queued signals carry no data).
  struct Mailbox {
    std::mutex mutex;
    PlcLink* link = nullptr;
    TransferPlan plan;
    std::optional<TransferResult> result;
  };

  Workstation& ws_;
  QThread worker_;
  QObject* linkOwner_ = nullptr;  // lives on the worker thread; its queue runs the transfers
  Mailbox mailbox_;
  WorkTimer workTimer_;
};

}  // namespace orl
