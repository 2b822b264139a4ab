// The host's message pump. On Windows this is the thread's message queue; on
// POSIX a host may set a hook, and without one both calls do nothing.
#pragma once

#include <functional>

namespace zul00500::platform {

// Handles every message already queued and returns at once.
void process_messages();
// Waits for one message and handles it.
void handle_message();

// `hook(wait)` replaces the platform's pump: wait is false for
// process_messages, true for handle_message. An empty hook restores the
// platform's behaviour.
void set_message_hook(std::function<void(bool wait)> hook);

} // namespace zul00500::platform
