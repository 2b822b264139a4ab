// The running process and its environment on POSIX.
#include "platform/process.h"

#include "platform/detail.h"
#include "platform/posix/paths.h"

#include <cstdlib>
#include <unistd.h>

namespace zul00500::platform {

// The package's paths are code page 1252 text: the UTF-8 names the system
// gives are converted (paths.h).
std::string detail::native_host_executable_path() {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size()) {
      buffer.resize(static_cast<std::size_t>(length));
      return posix::package_text(buffer);
    }
    buffer.resize(buffer.size() * 2); // may have been cut short
  }
}

std::string posix::default_drive_root_from(const char* zul_drive_root, const char* xdg_data_home,
                                           const char* home, unsigned long uid) {
  if (zul_drive_root && *zul_drive_root) return zul_drive_root;
  // The XDG rules ignore a relative XDG_DATA_HOME.
  if (xdg_data_home && *xdg_data_home == '/') return std::string(xdg_data_home) + "/zul00500/drives";
  if (home && *home) return std::string(home) + "/.local/share/zul00500/drives";
  return "/tmp/zul00500-" + std::to_string(uid) + "/drives";
}

std::string detail::default_drive_root() {
  return posix::package_text(posix::default_drive_root_from(std::getenv("ZUL_DRIVE_ROOT"),
                                                            std::getenv("XDG_DATA_HOME"), std::getenv("HOME"),
                                                            static_cast<unsigned long>(::getuid())));
}

std::string detail::shown_path(std::string_view path) { return posix::shown_path(path); }

std::string environment_variable(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value ? value : "";
}

bool stdin_is_terminal() { return ::isatty(STDIN_FILENO) == 1; }

unsigned long current_process_id() { return static_cast<unsigned long>(::getpid()); }

} // namespace zul00500::platform
