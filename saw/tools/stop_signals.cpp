#include "saw/tools/stop_signals.h"

#include <csignal>

namespace orl {
namespace {

std::atomic<bool> stopRequested{false};
std::atomic<int> stopSignal{0};

void RequestStop(int signal) {
  stopSignal = signal;
  stopRequested = true;
}

}  // namespace

void CatchStopSignals() {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGINT, SIGTERM}) sigaction(signal, &action, nullptr);
}

const std::atomic<bool>& StopRequested() { return stopRequested; }

int StopSignal() { return stopSignal; }

}  // namespace orl
