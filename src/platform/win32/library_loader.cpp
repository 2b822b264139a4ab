// LoadLibraryA / GetModuleHandleA / GetProcAddress behind the loader seam.
#include "platform/library_loader.h"

#include <windows.h>

namespace zul00500::platform {

namespace {
class Win32LibraryLoader final : public LibraryLoader {
public:
  void* load_library(const std::string& name) override {
    return name.empty() ? nullptr : reinterpret_cast<void*>(::LoadLibraryA(name.c_str()));
  }

  void* module_handle(const std::string& name) override {
    // An empty name would give the executable's own handle.
    return name.empty() ? nullptr : reinterpret_cast<void*>(::GetModuleHandleA(name.c_str()));
  }

  void* function_address(void* module, const std::string& function) override {
    if (!module) return nullptr;
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module), function.c_str()));
  }
};
} // namespace

LibraryLoader& native_loader() {
  static Win32LibraryLoader instance;
  return instance;
}

} // namespace zul00500::platform
