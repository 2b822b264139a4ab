// A fresh world for one test: a temporary folder that serves as the drive
// root (so "c:\tef_dial\" lives inside it, on Windows too) and holds the
// host's folder, with the host executable path pointing there. All of it goes
// with the object.
#pragma once

#include <string>

namespace zul00500::testing {

class TempWorld {
public:
  TempWorld();
  ~TempWorld();
  TempWorld(const TempWorld&) = delete;
  TempWorld& operator=(const TempWorld&) = delete;

  // The temporary folder, a native path.
  const std::string& root() const { return root_; }
  // root() + "/host" ("\host" on Windows): where the host program "lives".
  const std::string& host_dir() const { return host_dir_; }
  // host_dir() + "/host.exe", what platform::host_executable_path() returns.
  std::string host_exe() const { return host_dir_ + kSeparator + "host.exe"; }
  // The system's path separator.
#ifdef _WIN32
  static constexpr const char* kSeparator = "\\";
#else
  static constexpr const char* kSeparator = "/";
#endif
  // Where a package path ("c:\tef_dial\resp\intpos.001") lives on this machine.
  static std::string native(const std::string& path);

private:
  std::string root_;
  std::string host_dir_;
};

} // namespace zul00500::testing
