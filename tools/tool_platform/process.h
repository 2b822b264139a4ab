// Facts about the running tool itself.
#pragma once

#include <string>

namespace tool_platform {

// Native path of the running program; empty when the system does not say.
std::string executable_path();

// True when standard input is an interactive terminal.
bool stdin_is_terminal();

// Standard output passes its bytes as they are: on Windows a line feed is
// otherwise written as CR LF, so that the same text differs from one
// platform to the other.
void binary_stdout();

} // namespace tool_platform
