// Scratch folders for a throw-away world (the command-line host's demo).
#pragma once

#include <string>

namespace tool_platform {

// Makes a fresh folder, private to the user, in the system's temporary
// folder, its name starting with `prefix`; returns its native path. Throws
// tool_platform::Error when none can be made.
std::string make_temp_directory(const std::string& prefix);

// Removes a native folder and everything in it. False when something stayed;
// never throws.
bool remove_directory_tree(const std::string& native_path);

} // namespace tool_platform
