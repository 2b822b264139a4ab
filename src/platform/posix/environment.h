// The POSIX environment's rules, apart from the variables they read, for the
// tests.
#pragma once

#include <string>

namespace zul00500::platform::posix {

// $XDG_DATA_HOME when absolute (the XDG rules ignore a relative one), else
// $HOME/.local/share, else empty. Null pointers stand for unset variables.
std::string user_data_folder_from(const char* xdg_data_home, const char* home);

} // namespace zul00500::platform::posix
