#include "tool_platform/shared_library.h"

#include <dlfcn.h>

#include "tool_platform/error.h"

namespace tool_platform {

SharedLibrary::SharedLibrary(const std::string& path) : path_(path) {
  // RTLD_LOCAL: the library's names stay its own, as a host expects.
  handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* reason = ::dlerror();
    throw Error("load the library", path, reason ? reason : "unknown reason");
  }
}

SharedLibrary::~SharedLibrary() { ::dlclose(handle_); }

void* SharedLibrary::Find(const std::string& name) const { return ::dlsym(handle_, name.c_str()); }

std::string SharedLibraryFileName(const std::string& name) { return "lib" + name + ".so"; }

} // namespace tool_platform
