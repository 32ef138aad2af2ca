#pragma once
// Runs the event loop until done() holds, or the time is up (false).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

namespace orl::testing {

inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

}  // namespace orl::testing
