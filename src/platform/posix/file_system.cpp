// The native file system on POSIX, over the path model of paths.h.
#include "platform/file_system.h"

#include "platform/detail.h"
#include "platform/error.h"
#include "platform/posix/paths.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <system_error>

namespace zul00500::platform {

namespace {
std::string reason(int error) { return std::error_code(error, std::generic_category()).message(); }

// The package's path stays the error's object; its text shows it the way
// this system writes paths (error.cpp).
[[noreturn]] void fail(const char* operation, const std::string& path, int error) {
  if (error == ENOSPC || error == EDQUOT) throw NoSpaceError(operation, path, reason(error));
  throw FileError(operation, path, reason(error));
}

bool stat_path(const std::string& native, struct stat& info) { return ::stat(native.c_str(), &info) == 0; }
// The entry itself: a link is not followed.
bool lstat_path(const std::string& native, struct stat& info) { return ::lstat(native.c_str(), &info) == 0; }

std::string what_is(mode_t mode) {
  if (S_ISLNK(mode)) return "a symbolic link";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISDIR(mode)) return "a directory";
  return "not a regular file";
}

[[noreturn]] void not_regular(const std::string& path, mode_t mode) {
  throw NotRegularFile("read", path, "it is " + what_is(mode) + ", not a regular file");
}

class Descriptor {
public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closing can report a delayed write error, so writers close explicitly.
  int close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

private:
  int fd_;
};

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

void write_all(const char* operation, const std::string& path, int flags, std::string_view bytes) {
  const std::string native = posix::resolve_path(path);
  // Without blocking: a FIFO in the file's place would hold open() until
  // some reader came; it fails instead.
  Descriptor fd(::open(native.c_str(), flags | O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666));
  if (fd.get() < 0) fail(operation, path, errno);
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd.get(), bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      fail(operation, path, errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  if (fd.close() != 0) fail(operation, path, errno);
}

// Up to `max_bytes` of the file from `offset`; npos: to its end. Only a
// regular file is read; with `follow`, one a link points to.
std::string read_from(const std::string& path, std::uint64_t offset, std::size_t max_bytes, bool follow) {
  const std::string native = posix::resolve_path(path);
  struct stat info;
  // Told before it is opened: opening a device may do something.
  if ((follow ? stat_path(native, info) : lstat_path(native, info)) && !S_ISREG(info.st_mode))
    not_regular(path, info.st_mode);
  // Without blocking, and without following a link, should one have been
  // put there since: a FIFO would hold open() until some writer came.
  Descriptor fd(::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | (follow ? 0 : O_NOFOLLOW)));
  if (fd.get() < 0) {
    const int error = errno;
    if (error == ELOOP && !follow && lstat_path(native, info) && S_ISLNK(info.st_mode))
      not_regular(path, info.st_mode);
    // Another user's file we may not read: there, but not for us.
    if (error == EACCES || error == EPERM) throw UnreadableFile("read", path, reason(error));
    fail("read", path, error);
  }
  if (::fstat(fd.get(), &info) != 0) fail("read", path, errno);
  if (!S_ISREG(info.st_mode)) not_regular(path, info.st_mode);
  std::string content;
  if (info.st_size > 0 && static_cast<std::uint64_t>(info.st_size) > offset)
    content.reserve(std::min<std::uint64_t>(static_cast<std::uint64_t>(info.st_size) - offset, max_bytes));
  char buffer[65536];
  std::uint64_t at = offset;
  while (content.size() < max_bytes) {
    const std::size_t want = std::min<std::size_t>(sizeof buffer, max_bytes - content.size());
    const ssize_t got = ::pread(fd.get(), buffer, want, static_cast<off_t>(at));
    if (got < 0) {
      if (errno == EINTR) continue;
      fail("read", path, errno);
    }
    if (got == 0) break;
    content.append(buffer, static_cast<std::size_t>(got));
    at += static_cast<std::uint64_t>(got);
  }
  return content;
}

class PosixFileSystem final : public FileSystem {
public:
  bool file_exists(const std::string& path) override {
    std::string last;
    const std::string directory = posix::resolve_parent(path, last);
    // A link is what it is itself, as Windows tells of a reparse point: a
    // link to nowhere, or to a directory, is still there to be removed.
    if (!has_wildcard(last)) {
      struct stat info;
      return lstat_path(posix::resolve_path(path), info) && !S_ISDIR(info.st_mode);
    }
    // A pattern exists when some file matches it, as FindFirstFile tells.
    bool found = false;
    each_match(directory, last, [&](const std::string& native) {
      struct stat info;
      found = found || (lstat_path(posix::join(directory, native), info) && !S_ISDIR(info.st_mode));
    });
    return found;
  }

  bool directory_exists(const std::string& path) override {
    struct stat info;
    return stat_path(posix::resolve_path(path), info) && S_ISDIR(info.st_mode);
  }

  bool is_link(const std::string& path) override {
    std::string native = posix::resolve_path(path);
    while (native.size() > 1 && native.back() == '/') native.pop_back();
    struct stat info;
    return lstat_path(native, info) && S_ISLNK(info.st_mode);
  }

  std::vector<std::string> list(const std::string& pattern) override {
    std::vector<std::string> names;
    std::string last;
    const std::string directory = posix::resolve_parent(pattern, last);
    if (last.empty()) return names;
    if (!has_wildcard(last)) {
      const std::string found = posix::find_entry(directory, last);
      if (!found.empty()) names.push_back(posix::package_text(found));
      return names;
    }
    each_match(directory, last,
               [&](const std::string& native) { names.push_back(posix::package_text(native)); });
    return names;
  }

  bool remove_file(const std::string& path) override {
    const std::string native = posix::resolve_path(path);
    struct stat info;
    if (::lstat(native.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
    return ::unlink(native.c_str()) == 0;
  }

  bool rename_file(const std::string& from, const std::string& to) override {
    const std::string source = posix::resolve_path(from);
    const std::string target = posix::resolve_path(to);
    return ::rename(source.c_str(), target.c_str()) == 0;
  }

  std::string read_file(const std::string& path) override {
    return read_from(path, 0, std::string::npos, true);
  }

  std::string read_part(const std::string& path, std::uint64_t offset, std::size_t max_bytes) override {
    return read_from(path, offset, max_bytes, false);
  }

  void write_file(const std::string& path, std::string_view bytes) override {
    write_all("write", path, O_TRUNC, bytes);
  }

  void append_file(const std::string& path, std::string_view bytes) override {
    write_all("append", path, O_APPEND, bytes);
  }

  void flush_file(const std::string& path) override {
    Descriptor fd(::open(posix::resolve_path(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0 || ::fsync(fd.get()) != 0) fail("flush", path, errno);
  }

  bool flush_directory(const std::string& path) override {
    Descriptor fd(::open(posix::resolve_path(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.get() >= 0 && ::fsync(fd.get()) == 0;
  }

  void create_directories(const std::string& path) override {
    const std::string native = posix::resolve_path(path);
    // Every prefix ending before a "/", then the whole path.
    for (std::size_t end = native.find('/', 1);; end = native.find('/', end + 1)) {
      const std::string prefix = native.substr(0, end);
      struct stat info;
      if (stat_path(prefix, info)) {
        if (!S_ISDIR(info.st_mode)) fail("create directory", path, ENOTDIR);
      } else if (::mkdir(prefix.c_str(), 0777) != 0) {
        const int error = errno;
        // Someone else may have made it in the meantime.
        if (error != EEXIST || !stat_path(prefix, info) || !S_ISDIR(info.st_mode))
          fail("create directory", path, error);
      }
      if (end == std::string::npos) break;
    }
  }

  std::string short_path(const std::string& path) override { return path; }

  std::string native_path(const std::string& path) override { return posix::resolve_path(path); }

  std::unique_ptr<FileLock> try_lock(const std::string& path) override {
    return detail::native_try_lock(path);
  }

private:
  // Calls `take` with the on-disk name of every entry of `directory` (a
  // resolved path) whose package text matches `pattern`.
  template <typename Take>
  static void each_match(const std::string& directory, const std::string& pattern, Take take) {
    std::unique_ptr<DIR, DirCloser> dir(::opendir(directory.empty() ? "." : directory.c_str()));
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir.get())) {
      const std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      if (wildcard_match(pattern, posix::package_text(name))) take(name);
    }
  }
};
} // namespace

FileSystem& native_fs() {
  static PosixFileSystem instance;
  return instance;
}

} // namespace zul00500::platform
