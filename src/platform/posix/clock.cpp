// Local time from the system clock, the monotonic clock, and a pause that
// survives signals.
#include "platform/clock.h"

#include "platform/date_time.h"

#include <algorithm>
#include <cerrno>
#include <ctime>

namespace zul00500::platform {

namespace {
class PosixClock final : public Clock {
public:
  PosixClock() { ::tzset(); }

  double now() override {
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    std::tm local{};
    ::localtime_r(&ts.tv_sec, &local);
    return encode_date_time({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                             local.tm_min,
                             std::min(local.tm_sec, 59), // a leap second stays within the minute
                             static_cast<int>(ts.tv_nsec / 1'000'000)});
  }

  std::uint64_t monotonic_ms() override {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000 + static_cast<std::uint64_t>(ts.tv_nsec) / 1'000'000;
  }

  void sleep(std::uint32_t milliseconds) override {
    timespec left{static_cast<time_t>(milliseconds / 1000),
                  static_cast<long>(milliseconds % 1000) * 1'000'000};
    while (::nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
  }
};
} // namespace

Clock& native_clock() {
  static PosixClock instance;
  return instance;
}

} // namespace zul00500::platform
