// Locks that keep a second till out of an exchange root: LockFileEx on a
// file held open. The lock belongs to the handle, so a second handle
// conflicts even within one process. It covers one byte far past the text
// the holder writes, because a Windows lock also bars reading what it
// covers, and whoever finds it taken reads that text.
#include "platform/detail.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/win32/paths.h"
#include "platform/win32/wide.h"

#include <windows.h>

namespace zul00500::platform {

namespace {
constexpr DWORD kLockedByte = 0x40000000; // 1 GiB

class Win32FileLock final : public FileLock {
public:
  explicit Win32FileLock(HANDLE handle) : handle_(handle) {}
  // Closing the handle drops its lock.
  ~Win32FileLock() override { ::CloseHandle(handle_); }
  Win32FileLock(const Win32FileLock&) = delete;
  Win32FileLock& operator=(const Win32FileLock&) = delete;

  bool describe(std::string_view text) override {
    LARGE_INTEGER start{};
    if (!::SetFilePointerEx(handle_, start, nullptr, FILE_BEGIN)) return false;
    while (!text.empty()) {
      DWORD written = 0;
      if (!::WriteFile(handle_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
          written == 0)
        return false;
      text.remove_prefix(written);
    }
    return ::SetEndOfFile(handle_) != 0;
  }

private:
  HANDLE handle_;
};

HANDLE open_lock_file(const std::wstring& native, DWORD access) {
  return ::CreateFileW(native.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}
} // namespace

std::unique_ptr<FileLock> detail::native_try_lock(const std::string& path) {
  const std::wstring native = win32::to_wide(win32::map_path(path).native);
  HANDLE handle = open_lock_file(native, GENERIC_READ | GENERIC_WRITE);
  // Another user's lock file: a read-only handle locks as well; we only
  // cannot say who we are.
  if (handle == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_ACCESS_DENIED)
    handle = open_lock_file(native, GENERIC_READ);
  if (handle == INVALID_HANDLE_VALUE)
    throw FileError("open the lock file", path, win32::error_text(::GetLastError()));
  OVERLAPPED where{};
  where.Offset = kLockedByte;
  if (::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where))
    return std::make_unique<Win32FileLock>(handle);
  const DWORD error = ::GetLastError();
  ::CloseHandle(handle);
  if (error == ERROR_LOCK_VIOLATION || error == ERROR_SHARING_VIOLATION) return nullptr;
  throw FileError("lock", path, win32::error_text(error));
}

} // namespace zul00500::platform
