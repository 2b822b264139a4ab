#include "tool_platform/signals.h"

#include <atomic>
#include <csignal>
#include <signal.h>

namespace tool_platform {

namespace {
// Only a lock-free atomic may be touched from a signal handler.
std::atomic<bool> stop_flag{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void on_stop_signal(int) { stop_flag.store(true); }
} // namespace

void install_stop_handler() {
  struct sigaction action {};
  action.sa_handler = on_stop_signal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a sleep in progress returns early, so the tool stops at once.
  action.sa_flags = 0;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool stop_requested() { return stop_flag.load(); }

} // namespace tool_platform
