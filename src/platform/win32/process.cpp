// The running process and its environment on Windows.
#include "platform/process.h"

#include "platform/detail.h"
#include "platform/environment.h"

#include <windows.h>

namespace zul00500::platform {

std::string detail::native_host_executable_path() { return running_program_path(); }

// Windows writes paths the package's way.
std::string detail::shown_path(std::string_view path) { return std::string(path); }

// Drive letters are real on Windows.
std::string detail::default_drive_root() { return {}; }

unsigned long current_process_id() { return ::GetCurrentProcessId(); }

} // namespace zul00500::platform
