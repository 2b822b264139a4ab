// Loading a shared library at run time and finding its routines by name, as
// a host program loads the package.
#pragma once

#include <string>

namespace tool_platform {

class SharedLibrary {
public:
  // Loads the library at the native path `path` (or by name through the
  // system's search when it has no directory). Throws tool_platform::Error
  // with the system's reason when it cannot be loaded.
  explicit SharedLibrary(const std::string& path);
  // Unloads it: the library's own unload code runs then.
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // The address of the exported routine `name`; null when there is none.
  void* Find(const std::string& name) const;
  const std::string& path() const { return path_; }

private:
  std::string path_;
  void* handle_ = nullptr;
};

// The file name the platform gives a shared library called `name`:
// "libNAME.so" on POSIX, "NAME.dll" on Windows.
std::string SharedLibraryFileName(const std::string& name);

} // namespace tool_platform
