// Glue between the portable seam code (seams.cpp) and the per-OS files:
// what each platform supplies, and small helpers they share.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zul00500::platform {
class FileLock;
}

namespace zul00500::platform::detail {

// Supplied by posix/ or win32/.
void native_process_messages();
void native_handle_message(std::uint32_t max_wait_ms);
std::string native_host_executable_path();
std::string default_drive_root();
// A package path (or any error object) as the platform's error texts show it.
std::string shown_path(std::string_view path);
// FileSystem::try_lock of the platform's own file system (file_lock.cpp).
std::unique_ptr<FileLock> native_try_lock(const std::string& path);

} // namespace zul00500::platform::detail
