#include "tool_platform/shared_library.h"

#include <windows.h>

#include "platform/win32/wide.h"
#include "tool_platform/error.h"

namespace tool_platform {

SharedLibrary::SharedLibrary(const std::string& path) : path_(path) {
  handle_ = ::LoadLibraryW(zul00500::platform::win32::to_wide(path).c_str());
  if (!handle_)
    throw Error("load the library", path, zul00500::platform::win32::error_text(::GetLastError()));
}

SharedLibrary::~SharedLibrary() { ::FreeLibrary(static_cast<HMODULE>(handle_)); }

void* SharedLibrary::Find(const std::string& name) const {
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle_), name.c_str()));
}

std::string SharedLibraryFileName(const std::string& name) { return name + ".dll"; }

} // namespace tool_platform
