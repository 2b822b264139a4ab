// What the tools alone ask of a POSIX system; the rest is the platform
// layer's (process.cpp).
#include "tool_platform/process.h"

#include <sys/utsname.h>
#include <unistd.h>

namespace tool_platform {

void binary_stdout() {}

bool stderr_is_terminal() { return ::isatty(STDERR_FILENO) == 1; }

std::string machine_description() {
  struct utsname names {};
  if (uname(&names) != 0) return "unknown machine";
  return std::string(names.nodename) + " (" + names.sysname + " " + names.release + " " + names.machine + ")";
}

} // namespace tool_platform
