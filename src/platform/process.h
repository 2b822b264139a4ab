// Facts about the running host process and its environment.
#pragma once

#include <string>

#include "platform/environment.h" // environment_variable, stdin_is_terminal

namespace zul00500::platform {

// Full path of the running host executable (the program that loaded the
// package, not the package file). A host or a test may override it.
std::string host_executable_path();
void set_host_executable_path(const std::string& path); // empty: the real one

// The folder in which drive letters live: "X:\a\b" is then ROOT/x/a/b. On
// POSIX it is $ZUL_DRIVE_ROOT (or a per-user folder) unless set here; on
// Windows drive letters are real unless it is set here, and a path already
// under it is used as it is.
std::string drive_root();
void set_drive_root(const std::string& folder); // empty: back to the default

// The system's id of the running process.
unsigned long current_process_id();

} // namespace zul00500::platform
