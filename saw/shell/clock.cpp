#include "saw/shell/clock.h"

#include <chrono>

namespace orl {

double SteadyClock::Seconds() const {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace orl
