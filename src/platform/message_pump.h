// The host's message pump. On Windows this is the thread's message queue; on
// POSIX a host may set a hook, and without one both calls do nothing.
#pragma once

#include <cstdint>
#include <functional>

namespace zul00500::platform {

// Handles every message already queued and returns at once.
void process_messages();

// The longest a pump waits for a message: the answer wait's cycle, the only
// wait that pumps this way.
inline constexpr std::uint32_t kMessageWaitMs = 250;

// Handles one message: a queued one at once, else the first that arrives
// within `max_wait_ms`. Never blocks longer: a console host, or a window
// host without a timer, may send no message at all.
void handle_message(std::uint32_t max_wait_ms = kMessageWaitMs);

// `hook(wait)` replaces the platform's pump: wait is false for
// process_messages, true for handle_message. An empty hook restores the
// platform's behaviour.
void set_message_hook(std::function<void(bool wait)> hook);

} // namespace zul00500::platform
