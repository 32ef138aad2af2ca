#pragma once
// SIGINT and SIGTERM as a request to end: once caught, they only set the
// request, and the command ends its run as the program ends (the port
// closed, its line settings restored) instead of dying mid-transfer.
#include <atomic>

namespace orl {

// From here on SIGINT and SIGTERM set the stop request.
void CatchStopSignals();

const std::atomic<bool>& StopRequested();

// The signal that asked to stop; 0 when none came.
int StopSignal();

}  // namespace orl
