#include "tool_platform/process.h"

#include <cstdlib>
#include <filesystem>
#include <sys/utsname.h>
#include <system_error>
#include <unistd.h>

namespace tool_platform {

std::string executable_path() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

bool stdin_is_terminal() { return ::isatty(STDIN_FILENO) == 1; }

void binary_stdout() {}

bool stderr_is_terminal() { return ::isatty(STDERR_FILENO) == 1; }

std::string machine_description() {
  struct utsname names {};
  if (uname(&names) != 0) return "unknown machine";
  return std::string(names.nodename) + " (" + names.sysname + " " + names.release + " " + names.machine + ")";
}

std::string user_data_folder() {
  // The XDG rules ignore a relative XDG_DATA_HOME.
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && *data == '/') return data;
  const char* home = std::getenv("HOME");
  return home && *home ? std::string(home) + "/.local/share" : std::string();
}

} // namespace tool_platform
