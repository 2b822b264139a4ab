// Run-time lookup of functions in system libraries (name -> module ->
// function address), so the package can use a function the system may lack.
#pragma once

#include <string>

// Calling convention of the system's API functions found by address.
#if defined(_WIN32) && !defined(_WIN64)
#define ZUL_WINAPI __stdcall
#else
#define ZUL_WINAPI
#endif

namespace zul00500::platform {

class LibraryLoader {
public:
  virtual ~LibraryLoader() = default;
  // Loads a library by name; null when it cannot be loaded.
  virtual void* load_library(const std::string& name) = 0;
  // The handle of an already loaded module of that name; null when none.
  virtual void* module_handle(const std::string& name) = 0;
  // The address of a function of a module; null when it does not export it.
  virtual void* function_address(void* module, const std::string& function) = 0;
};

LibraryLoader& loader();
LibraryLoader& native_loader();

class ScopedLibraryLoader {
public:
  explicit ScopedLibraryLoader(LibraryLoader& replacement);
  ~ScopedLibraryLoader();
  ScopedLibraryLoader(const ScopedLibraryLoader&) = delete;
  ScopedLibraryLoader& operator=(const ScopedLibraryLoader&) = delete;

private:
  LibraryLoader* previous_;
};

} // namespace zul00500::platform
