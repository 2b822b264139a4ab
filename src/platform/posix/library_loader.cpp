// dlopen/dlsym behind the loader seam.
#include "platform/library_loader.h"

#include <dlfcn.h>

namespace zul00500::platform {

namespace {
class PosixLibraryLoader final : public LibraryLoader {
public:
  void* load_library(const std::string& name) override {
    // Like LoadLibrary, the library stays loaded for the life of the process.
    return name.empty() ? nullptr : ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  }

  void* module_handle(const std::string& name) override {
    if (name.empty()) return nullptr;
    void* handle = ::dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD);
    // GetModuleHandle takes no reference; give back the one RTLD_NOLOAD took.
    if (handle) ::dlclose(handle);
    return handle;
  }

  void* function_address(void* module, const std::string& function) override {
    // A null handle would mean RTLD_DEFAULT to dlsym, a search of everything.
    return module ? ::dlsym(module, function.c_str()) : nullptr;
  }
};
} // namespace

LibraryLoader& native_loader() {
  static PosixLibraryLoader instance;
  return instance;
}

} // namespace zul00500::platform
