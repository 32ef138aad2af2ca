#pragma once
#include "saw/shell/clock.h"

namespace orl::testing {

// A clock the test moves by hand; with wrapAtMidnight it counts seconds of
// the day and falls back to 0 at 86400, as a time-of-day clock does.
class FakeClock : public Clock {
 public:
  explicit FakeClock(double start = 0, bool wrapAtMidnight = false) : now_(start), wrap_(wrapAtMidnight) {}
  double Seconds() const override { return now_; }
  void Advance(double seconds) {
    now_ += seconds;
    if (wrap_ && now_ >= 86400) now_ -= 86400;
  }

 private:
  double now_;
  bool wrap_;
};

}  // namespace orl::testing
