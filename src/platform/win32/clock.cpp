// Local time from GetLocalTime, and Sleep.
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

  void sleep(std::uint32_t milliseconds) override { ::Sleep(milliseconds); }
};
} // namespace

Clock& native_clock() {
  static Win32Clock instance;
  return instance;
}

} // namespace zul00500::platform
