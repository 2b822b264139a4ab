#include "tool_platform/process.h"

#include <filesystem>
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

} // namespace tool_platform
