#include "tool_platform/signals.h"

#include <atomic>
#include <windows.h>

namespace tool_platform {

namespace {
std::atomic<bool> stop_flag{false};

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI on_console_event(DWORD event) {
  switch (event) {
  case CTRL_C_EVENT:
  case CTRL_BREAK_EVENT:
    stop_flag.store(true);
    return TRUE;
  case CTRL_CLOSE_EVENT:
  case CTRL_LOGOFF_EVENT:
  case CTRL_SHUTDOWN_EVENT:
    // The system ends the process when this returns; give the main loop a
    // moment to finish its poll and close its log.
    stop_flag.store(true);
    Sleep(500);
    return TRUE;
  default:
    return FALSE;
  }
}
} // namespace

void install_stop_handler() { SetConsoleCtrlHandler(on_console_event, TRUE); }

bool stop_requested() { return stop_flag.load(); }

} // namespace tool_platform
