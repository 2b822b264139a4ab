// The package set up for one host directory, as an integrator sets it: the
// drive root and the host program's directory given to the package through
// its C interface, and the host's directories made (a real host's
// installation ships them; the package never makes them).
#pragma once

#include <optional>
#include <string>

namespace zulpos {

struct SessionOptions {
  // The host program's directory (a native path); unset: the directory of
  // zulpos itself.
  std::optional<std::string> host_dir;
  // POSIX: the folder in which drive letters live; unset: the package's
  // default.
  std::optional<std::string> drive_root;
};

// Where the package works for a host directory: a drive path (X:\\a\\b) lives
// under DRIVE_ROOT/x/a/b once a drive root is given, unless it already lies
// under the root (on Windows every native path is a drive path). zulpos makes
// the host's directories there.
std::string WhereThePackageLooks(const std::string& host_dir, const std::optional<std::string>& drive_root);

// The host directory a session for `options` works in: --host-dir's, or
// the directory of zulpos, where the package looks for it.
std::string SessionHostDirectory(const SessionOptions& options, const std::string& program_path);

class PackageSession {
public:
  // Throws when a directory cannot be made, naming it; nothing is left set
  // then.
  PackageSession(const SessionOptions& options, const std::string& program_path);
  ~PackageSession();
  PackageSession(const PackageSession&) = delete;
  PackageSession& operator=(const PackageSession&) = delete;

  // The host program's directory in use, a native path: where the package
  // works (see WhereThePackageLooks).
  const std::string& host_dir() const { return host_dir_; }

private:
  SessionOptions options_;
  std::string host_dir_;
};

} // namespace zulpos
