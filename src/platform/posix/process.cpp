// The running process and its environment on POSIX.
#include "platform/process.h"

#include "platform/detail.h"
#include "platform/environment.h"
#include "platform/posix/paths.h"

#include <unistd.h>

namespace zul00500::platform {

// The package's paths are code page 1252 text: the UTF-8 names the system
// gives are converted (paths.h).
std::string detail::native_host_executable_path() { return posix::package_text(running_program_path()); }

std::string posix::default_drive_root_from(std::string_view zul_drive_root, std::string_view user_data_folder,
                                           unsigned long uid) {
  if (!zul_drive_root.empty()) return std::string(zul_drive_root);
  if (!user_data_folder.empty()) return std::string(user_data_folder) + "/zul00500/drives";
  return "/tmp/zul00500-" + std::to_string(uid) + "/drives";
}

std::string detail::default_drive_root() {
  return posix::package_text(posix::default_drive_root_from(drive_root_variable(), user_data_folder(),
                                                            static_cast<unsigned long>(::getuid())));
}

std::string detail::shown_path(std::string_view path) { return posix::shown_path(path); }

unsigned long current_process_id() { return static_cast<unsigned long>(::getpid()); }

} // namespace zul00500::platform
