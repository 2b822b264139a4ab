// Facts about the running tool itself. Those the package asks too are the
// platform layer's answers (src/platform/environment.h), passed on.
#pragma once

#include <string>

namespace tool_platform {

// Native path of the running program; empty when the system does not say.
std::string executable_path();

// True when standard input is an interactive terminal.
bool stdin_is_terminal();
// $ZUL_DRIVE_ROOT, empty when unset (the package reads it on POSIX only).
std::string drive_root_variable();

// True when standard error is one (and not a pipe or a file).
bool stderr_is_terminal();

// The machine, for a report's identity: its name and system, such as
// "till-07 (Linux 6.1.0-18-amd64 x86_64)" or "TILL-07 (Windows 10.0.19045)".
std::string machine_description();

// The folder where this user's programs keep their data: $XDG_DATA_HOME
// (when absolute), else ~/.local/share on POSIX; %LOCALAPPDATA% on Windows.
// Empty when the environment names none.
std::string user_data_folder();

// Standard output passes its bytes as they are: on Windows a line feed is
// otherwise written as CR LF, so that the same text differs from one
// platform to the other.
void binary_stdout();

} // namespace tool_platform
