// Locks that keep a second till out of an exchange root: flock on a file
// held open. flock belongs to the open file, not to the process, so a second
// open of the same file conflicts even within one process, and closing some
// other descriptor of the file never drops it (as it would a fcntl lock).
#include "platform/detail.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/posix/paths.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <system_error>

namespace zul00500::platform {

namespace {
std::string reason(int error) { return std::error_code(error, std::generic_category()).message(); }

class PosixFileLock final : public FileLock {
public:
  explicit PosixFileLock(int fd) : fd_(fd) {}
  // Closing the only descriptor of the open file drops its lock.
  ~PosixFileLock() override { ::close(fd_); }
  PosixFileLock(const PosixFileLock&) = delete;
  PosixFileLock& operator=(const PosixFileLock&) = delete;

  bool describe(std::string_view text) override {
    if (::ftruncate(fd_, 0) != 0) return false;
    std::size_t done = 0;
    while (done < text.size()) {
      const ssize_t written = ::pwrite(fd_, text.data() + done, text.size() - done, static_cast<off_t>(done));
      if (written < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      done += static_cast<std::size_t>(written);
    }
    return true;
  }

private:
  int fd_;
};
} // namespace

std::unique_ptr<FileLock> detail::native_try_lock(const std::string& path) {
  const std::string native = posix::resolve_path(path);
  int fd = ::open(native.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  // Another user's lock file: flock works on a read-only descriptor too; we
  // only cannot say who we are.
  if (fd < 0 && errno == EACCES) fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw FileError("open the lock file", path, reason(errno));
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return std::make_unique<PosixFileLock>(fd);
    const int error = errno;
    if (error == EINTR) continue;
    ::close(fd);
    if (error == EWOULDBLOCK) return nullptr;
    throw FileError("lock", path, reason(error));
  }
}

} // namespace zul00500::platform
