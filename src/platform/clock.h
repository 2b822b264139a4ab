// The clock seam: local date and time as days since 30 December 1899
// (the fraction is the time of day), and the pause every wait goes through.
// Tests install a virtual clock whose pause advances time at once.
#pragma once

#include <cstdint>

namespace zul00500::platform {

class Clock {
public:
  virtual ~Clock() = default;
  // Local date and time, days since 1899-12-30 00:00.
  virtual double now() = 0;
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

} // namespace zul00500::platform
