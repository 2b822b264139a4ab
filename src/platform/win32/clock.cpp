// Local time from GetLocalTime, GetTickCount64, and Sleep.
#include "platform/clock.h"

#include "platform/date_time.h"

#include <windows.h>

namespace zul00500::platform {

namespace {
class Win32Clock final : public Clock {
public:
  double now() override {
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    return encode_date_time({local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond,
                             local.wMilliseconds});
  }

  // Unaffected by changes of the date or time; wraps after 584 million years.
  std::uint64_t monotonic_ms() override { return ::GetTickCount64(); }

  void sleep(std::uint32_t milliseconds) override { ::Sleep(milliseconds); }
};
} // namespace

Clock& native_clock() {
  static Win32Clock instance;
  return instance;
}

} // namespace zul00500::platform
