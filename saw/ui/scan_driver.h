#pragma once
// The two timers of the window and the thread the PLC transfers run on.
// `TimerScan` (300 ms): the window's thread prepares a tick, the worker
// thread transfers it, and the window's thread applies the outcome and
// sequences; a tick that fires while a transfer is under way only
// sequences, so the window never waits for the PLC. `Timer1` (2000 ms)
// keeps the file lists current.
#include <QObject>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <functional>

#include "saw/workstation/workstation.h"

namespace orl {

inline constexpr int kScanIntervalMs = 300;
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

  bool TransferInFlight() const { return inFlight_; }

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
  void OnScanTick();
  void OnTransferDone(const TransferPlan& plan, const TransferResult& result);
  // Runs work and tells the work timer how long it took.
  void Timed(const std::function<void()>& work);

  Workstation& ws_;
  QThread worker_;
  QObject* linkOwner_ = nullptr;  // lives on the worker thread; its queue runs the transfers
  bool inFlight_ = false;
  WorkTimer workTimer_;
};

}  // namespace orl
