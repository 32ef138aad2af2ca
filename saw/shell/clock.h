#pragma once
// Time source for waits and the simulated PLC, so tests need no real time.

namespace orl {

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds from an arbitrary origin. A clock may wrap back to 0 once a day
  // (a time of day); callers that measure spans must allow for that.
  virtual double Seconds() const = 0;
};

// The machine's monotonic clock.
class SteadyClock final : public Clock {
 public:
  double Seconds() const override;
};

}  // namespace orl
