// The native file system on Windows: paths are used as they are (or under
// the drive root, when one is set), through the wide API so that code page
// 1252 names survive whatever the ANSI page is.
#include "platform/file_system.h"

#include "platform/detail.h"
#include "platform/error.h"
#include "platform/win32/paths.h"
#include "platform/win32/wide.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>

namespace zul00500::platform {

namespace {
using win32::to_wide;

// Where a package path lives, for the wide API.
std::wstring native(const std::string& path) { return to_wide(win32::map_path(path).native); }

[[noreturn]] void fail(const char* operation, const std::string& path, DWORD error) {
  if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL)
    throw NoSpaceError(operation, path, win32::error_text(error));
  throw FileError(operation, path, win32::error_text(error));
}

// Another program holds the file open without sharing it, or has locked the
// part we read: for a file being written, "not yet".
[[noreturn]] void fail_read(const std::string& path, DWORD error) {
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
    throw FileBusyError("read", path, win32::error_text(error));
  if (error == ERROR_ACCESS_DENIED) throw UnreadableFile("read", path, win32::error_text(error));
  fail("read", path, error);
}

[[noreturn]] void not_regular(const std::string& path, const char* what) {
  throw NotRegularFile("read", path, std::string("it is ") + what + ", not a regular file");
}

// Refuses, before it is opened, what the attributes tell is no regular
// file: a directory, or (without `follow`) a link, junction or any other
// reparse point. Missing: left to the opening to report.
void check_attributes(const std::string& path, DWORD found, bool follow) {
  if (found == INVALID_FILE_ATTRIBUTES) return;
  if (!follow && (found & FILE_ATTRIBUTE_REPARSE_POINT)) not_regular(path, "a link (reparse point)");
  if (found & FILE_ATTRIBUTE_DIRECTORY) not_regular(path, "a directory");
}

class Handle {
public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (valid()) ::CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  // Closing can report a delayed write error, so writers close explicitly.
  bool close() {
    const BOOL ok = ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return ok != 0;
  }

private:
  HANDLE handle_;
};

class Search {
public:
  explicit Search(const std::string& pattern) : handle_(::FindFirstFileW(native(pattern).c_str(), &data_)) {}
  ~Search() {
    if (handle_ != INVALID_HANDLE_VALUE) ::FindClose(handle_);
  }
  Search(const Search&) = delete;
  Search& operator=(const Search&) = delete;
  // Calls `visit(data)` for each entry but "." and "..", in the system's order,
  // until it returns true.
  template <class Visit> bool any(Visit visit) {
    if (handle_ == INVALID_HANDLE_VALUE) return false;
    do {
      const std::wstring_view name = data_.cFileName;
      if (name != L"." && name != L".." && visit(data_)) return true;
    } while (::FindNextFileW(handle_, &data_));
    return false;
  }

private:
  WIN32_FIND_DATAW data_{};
  HANDLE handle_;
};

DWORD attributes(const std::string& path) { return ::GetFileAttributesW(native(path).c_str()); }

bool is_directory(const std::wstring& native_path) {
  const DWORD found = ::GetFileAttributesW(native_path.c_str());
  return found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_DIRECTORY);
}

bool is_separator(char c) { return c == '\\' || c == '/'; }

void write_all(const char* operation, const std::string& path, DWORD access, DWORD share, DWORD disposition,
               std::string_view bytes) {
  Handle file(::CreateFileW(native(path).c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
  if (!file.valid()) fail(operation, path, ::GetLastError());
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), chunk, &written, nullptr))
      fail(operation, path, ::GetLastError());
    bytes.remove_prefix(written);
  }
  if (!file.close()) fail(operation, path, ::GetLastError());
}

// Up to `max_bytes` of the file from `offset`; npos: to its end. Every kind
// of sharing is allowed: the manager may be replacing the file as we read it.
// Only a file on the disk is read; with `follow`, one a link points to.
std::string read_from(const std::string& path, std::uint64_t offset, std::size_t max_bytes, bool follow) {
  const std::wstring wide = native(path);
  check_attributes(path, ::GetFileAttributesW(wide.c_str()), follow);
  // The link itself is opened, should one have been put there since.
  Handle file(::CreateFileW(wide.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr));
  if (!file.valid()) {
    const DWORD error = ::GetLastError();
    // A directory put there since cannot be opened as a file.
    check_attributes(path, ::GetFileAttributesW(wide.c_str()), follow);
    fail_read(path, error);
  }
  // A pipe, a console, a serial port: no file on the disk.
  if (::GetFileType(file.get()) != FILE_TYPE_DISK) not_regular(path, "a device or a pipe");
  BY_HANDLE_FILE_INFORMATION information{};
  if (!::GetFileInformationByHandle(file.get(), &information)) fail_read(path, ::GetLastError());
  check_attributes(path, information.dwFileAttributes, follow);
  std::string content;
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(file.get(), &size) && static_cast<std::uint64_t>(size.QuadPart) > offset)
    content.reserve(static_cast<std::size_t>(
        std::min<std::uint64_t>(static_cast<std::uint64_t>(size.QuadPart) - offset, max_bytes)));
  LARGE_INTEGER start{};
  start.QuadPart = static_cast<LONGLONG>(offset);
  if (offset != 0 && !::SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN))
    fail_read(path, ::GetLastError());
  char buffer[65536];
  while (content.size() < max_bytes) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(sizeof buffer, max_bytes - content.size()));
    DWORD got = 0;
    if (!::ReadFile(file.get(), buffer, want, &got, nullptr)) fail_read(path, ::GetLastError());
    if (got == 0) break;
    content.append(buffer, got);
  }
  return content;
}

// Prefixes that are roots, not directories to create: "C:", "\\server\share".
bool is_root(std::string_view prefix) {
  if (prefix.empty() || (prefix.size() == 2 && prefix[1] == ':')) return true;
  if (prefix.size() < 2 || !is_separator(prefix[0]) || !is_separator(prefix[1])) return false;
  int separators = 0;
  for (const char c : prefix.substr(2)) separators += is_separator(c);
  return separators < 1 || (separators == 1 && !is_separator(prefix.back()));
}

class Win32FileSystem final : public FileSystem {
public:
  bool file_exists(const std::string& path) override {
    if (has_wildcard(path)) {
      Search search(path);
      return search.any(
          [](const WIN32_FIND_DATAW& data) { return !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY); });
    }
    const DWORD found = attributes(path);
    return found != INVALID_FILE_ATTRIBUTES && !(found & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool directory_exists(const std::string& path) override { return is_directory(native(path)); }

  bool is_link(const std::string& path) override {
    std::string trimmed = path;
    while (trimmed.size() > 3 && is_separator(trimmed.back())) trimmed.pop_back();
    const DWORD found = attributes(trimmed);
    return found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_REPARSE_POINT);
  }

  std::vector<std::string> list(const std::string& pattern) override {
    std::vector<std::string> names;
    Search search(pattern);
    search.any([&](const WIN32_FIND_DATAW& data) {
      names.push_back(win32::from_wide(data.cFileName));
      return false;
    });
    return names;
  }

  bool remove_file(const std::string& path) override {
    const std::wstring wide = native(path);
    if (::DeleteFileW(wide.c_str())) return true;
    // A link to a directory, or a junction, is removed as a directory: the
    // link goes, never what it points to.
    const DWORD found = ::GetFileAttributesW(wide.c_str());
    return found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_REPARSE_POINT) &&
           (found & FILE_ATTRIBUTE_DIRECTORY) && ::RemoveDirectoryW(wide.c_str());
  }

  bool rename_file(const std::string& from, const std::string& to) override {
    return ::MoveFileExW(native(from).c_str(), native(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
  }

  std::string read_file(const std::string& path) override {
    return read_from(path, 0, std::string::npos, true);
  }

  std::string read_part(const std::string& path, std::uint64_t offset, std::size_t max_bytes) override {
    return read_from(path, offset, max_bytes, false);
  }

  void write_file(const std::string& path, std::string_view bytes) override {
    write_all("write", path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, bytes);
  }

  void append_file(const std::string& path, std::string_view bytes) override {
    // FILE_APPEND_DATA alone: every write lands at the end, whoever else
    // appends; and others may read or append to the card log meanwhile.
    write_all("append", path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS, bytes);
  }

  void flush_file(const std::string& path) override {
    Handle file(::CreateFileW(native(path).c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() || !::FlushFileBuffers(file.get())) fail("flush", path, ::GetLastError());
  }

  // NTFS journals a rename itself; a program cannot flush a directory.
  bool flush_directory(const std::string&) override { return true; }

  void create_directories(const std::string& path) override {
    // Every prefix of where the path lives, the drive root's own folders too.
    const std::string where = win32::map_path(path).native;
    for (std::size_t end = 0; end <= where.size(); ++end) {
      if (end < where.size() && !is_separator(where[end])) continue;
      const std::string prefix = where.substr(0, end);
      if (is_root(prefix) || is_separator(prefix.back())) continue;
      const std::wstring wide = to_wide(prefix);
      if (is_directory(wide)) continue;
      if (!::CreateDirectoryW(wide.c_str(), nullptr)) {
        const DWORD error = ::GetLastError();
        if (!is_directory(wide)) fail("create directory", path, error);
      }
    }
  }

  std::string short_path(const std::string& path) override {
    const win32::MappedPath mapped = win32::map_path(path);
    const std::wstring wide = to_wide(mapped.native);
    const DWORD needed = ::GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (needed == 0) return path;
    std::wstring buffer(needed, L'\0');
    const DWORD length = ::GetShortPathNameW(wide.c_str(), buffer.data(), needed);
    if (length == 0 || length >= needed) return path;
    buffer.resize(length);
    // Under a drive root, the short form of the path's own components only.
    return mapped.back(win32::from_wide(buffer));
  }

  std::string native_path(const std::string& path) override {
    const std::wstring wide = native(path);
    const DWORD needed = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::wstring buffer(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(wide.c_str(), needed, buffer.data(), nullptr);
    if (length == 0 || length >= needed) return path;
    buffer.resize(length);
    return win32::from_wide(buffer);
  }

  std::unique_ptr<FileLock> try_lock(const std::string& path) override {
    return detail::native_try_lock(path);
  }
};
} // namespace

FileSystem& native_fs() {
  static Win32FileSystem instance;
  return instance;
}

} // namespace zul00500::platform
