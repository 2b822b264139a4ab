// Facts about the running tool itself.
#pragma once

#include <string>

namespace tool_platform {

// Native path of the running program; empty when the system does not say.
std::string executable_path();

// True when standard input is an interactive terminal.
bool stdin_is_terminal();

} // namespace tool_platform
