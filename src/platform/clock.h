// The clock seam: local date and time as days since 30 December 1899
// (the fraction is the time of day), a monotonic count of milliseconds that
// bounded waits are measured on, and the pause every wait goes through.
// Tests install a virtual clock whose pause advances time at once.
#pragma once

#include <cstdint>

namespace zul00500::platform {

class Clock {
public:
  virtual ~Clock() = default;
  // Local date and time, days since 1899-12-30 00:00.
  virtual double now() = 0;
  // Milliseconds from an arbitrary start, never going back and not moved
  // when the date or time is set: what a wait's bound is measured on. It
  // counts every millisecond that passes, the host's own work included.
  virtual std::uint64_t monotonic_ms() = 0;
  // Blocks the calling thread for `milliseconds`.
  virtual void sleep(std::uint32_t milliseconds) = 0;
};

Clock& clock();
Clock& native_clock();

class ScopedClock {
public:
  explicit ScopedClock(Clock& replacement);
  ~ScopedClock();
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

private:
  Clock* previous_;
};

// The one wait primitive of the package.
inline void pause(std::uint32_t milliseconds) { clock().sleep(milliseconds); }

// The time since it was made (or restarted), on the monotonic clock of the
// clock in use.
class Stopwatch {
public:
  Stopwatch() : start_(clock().monotonic_ms()) {}
  std::uint64_t elapsed_ms() const { return clock().monotonic_ms() - start_; }
  void restart() { start_ = clock().monotonic_ms(); }

private:
  std::uint64_t start_;
};

} // namespace zul00500::platform
