// What the running program learns from its surroundings: the environment's
// variables, its own path, whether someone types at its input. The package
// and the tools' platform library share these (zul_platform_shared), so that
// each variable has one reader and each question one answer.
#pragma once

#include <string>

namespace zul00500::platform {

// Value of an environment variable, empty when unset: the one place the
// environment is read.
std::string environment_variable(const std::string& name);

// $ZUL_DRIVE_ROOT, the folder in which drive letters live when no one chose
// (the package honours it on POSIX only); empty when unset.
std::string drive_root_variable();

// The folder where this user's programs keep their data: $XDG_DATA_HOME
// (when absolute), else ~/.local/share on POSIX; %LOCALAPPDATA% on Windows.
// Empty when the environment names none.
std::string user_data_folder();

// Path of the running program as the system gives it: native bytes on POSIX,
// code page 1252 on Windows; empty when the system does not say.
std::string running_program_path();

// True when standard input is an interactive terminal.
bool stdin_is_terminal();

} // namespace zul00500::platform
