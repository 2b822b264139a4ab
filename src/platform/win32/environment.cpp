// The running program and its environment on Windows.
#include "platform/environment.h"

#include "platform/win32/wide.h"

#include <windows.h>

namespace zul00500::platform {

std::string environment_variable(const std::string& name) {
  const std::wstring wide = win32::to_wide(name);
  DWORD size = ::GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
  while (size > 0) {
    std::wstring value(size, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(wide.c_str(), value.data(), size);
    if (length < size) {
      value.resize(length);
      return win32::from_wide(value);
    }
    size = length; // it grew in between
  }
  return {};
}

std::string drive_root_variable() { return environment_variable("ZUL_DRIVE_ROOT"); }

std::string user_data_folder() { return environment_variable("LOCALAPPDATA"); }

std::string running_program_path() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return win32::from_wide(buffer);
    }
    buffer.resize(buffer.size() * 2); // truncated
  }
}

bool stdin_is_terminal() {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

} // namespace zul00500::platform
