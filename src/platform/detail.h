// Glue between the portable seam code (seams.cpp) and the per-OS files:
// what each platform supplies, and small helpers they share.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zul00500::platform::detail {

// Supplied by posix/ or win32/.
void native_process_messages();
void native_handle_message(std::uint32_t max_wait_ms);
std::string native_host_executable_path();
std::string default_drive_root();

// Letter case folding of code page 1252 (ASCII and the accented letters).
unsigned char fold_case(unsigned char c);
bool equal_ignoring_case(std::string_view a, std::string_view b);

} // namespace zul00500::platform::detail
