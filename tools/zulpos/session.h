// The package loaded for one host directory, as a host's module loader would:
// the host program's path and the drive root set, the host's directories
// made, Initialize on the way in and Finalize on the way out.
#pragma once

#include <optional>
#include <string>

namespace zulpos {

struct SessionOptions {
  // The host program's directory (code page 1252, native or Windows form);
  // unset: the directory of zulpos itself.
  std::optional<std::string> host_dir;
  // POSIX: the folder in which drive letters live; unset: the platform's
  // default.
  std::optional<std::string> drive_root;
};

class PackageSession {
public:
  // Throws the package's FileError when a directory cannot be made.
  explicit PackageSession(const SessionOptions& options);
  ~PackageSession();
  PackageSession(const PackageSession&) = delete;
  PackageSession& operator=(const PackageSession&) = delete;

private:
  SessionOptions options_;
};

} // namespace zulpos
