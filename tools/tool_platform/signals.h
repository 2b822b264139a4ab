// Stop requests for the long-running tools (tefsim): Ctrl+C, SIGTERM, or the
// console being closed. The package itself never installs a handler; a host
// owns its process's signals, which is why this lives with the tools.
#pragma once

namespace tool_platform {

// Catches the platform's stop requests from now on (SIGINT and SIGTERM on
// POSIX; Ctrl+C, Ctrl+Break, close, logoff and shutdown of the console on
// Windows). A request only sets a flag; a pause in progress may end early.
void install_stop_handler();
// True once a stop request has arrived after install_stop_handler().
bool stop_requested();

} // namespace tool_platform
