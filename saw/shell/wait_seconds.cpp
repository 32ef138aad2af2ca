#include "saw/shell/wait_seconds.h"

namespace orl {
namespace {
constexpr double kSecondsPerDay = 86400.0;
}

void WaitSeconds(float seconds, const Clock& clock, Ui& ui) {
  double previous = clock.Seconds();
  double elapsed = 0.0;
  do {
    ui.PumpEvents();
    const double now = clock.Seconds();
    double step = now - previous;
    if (step < 0) step += kSecondsPerDay;  // a time-of-day clock passed midnight
    elapsed += step;
    previous = now;
  } while (elapsed <= seconds);
}

}  // namespace orl
