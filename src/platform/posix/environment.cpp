// The running program and its environment on POSIX.
#include "platform/environment.h"

#include "platform/posix/environment.h"

#include <cstdlib>
#include <unistd.h>

namespace zul00500::platform {

std::string environment_variable(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value ? value : "";
}

std::string drive_root_variable() { return environment_variable("ZUL_DRIVE_ROOT"); }

std::string posix::user_data_folder_from(const char* xdg_data_home, const char* home) {
  if (xdg_data_home && *xdg_data_home == '/') return xdg_data_home;
  if (home && *home) return std::string(home) + "/.local/share";
  return {};
}

std::string user_data_folder() {
  return posix::user_data_folder_from(environment_variable("XDG_DATA_HOME").c_str(),
                                      environment_variable("HOME").c_str());
}

std::string running_program_path() {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size()) {
      buffer.resize(static_cast<std::size_t>(length));
      return buffer;
    }
    buffer.resize(buffer.size() * 2); // may have been cut short
  }
}

bool stdin_is_terminal() { return ::isatty(STDIN_FILENO) == 1; }

} // namespace zul00500::platform
