#include "tool_platform/process.h"

#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>

#include "platform/win32/wide.h"

namespace tool_platform {

std::string executable_path() {
  // The longest path the wide API knows.
  std::wstring path(32768, L'\0');
  const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length < path.size() ? length : 0);
  return zul00500::platform::win32::from_wide(path);
}

bool stdin_is_terminal() {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

void binary_stdout() {
  std::fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
}

bool stderr_is_terminal() {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

std::string user_data_folder() {
  std::wstring folder(32768, L'\0');
  const DWORD length =
      ::GetEnvironmentVariableW(L"LOCALAPPDATA", folder.data(), static_cast<DWORD>(folder.size()));
  folder.resize(length < folder.size() ? length : 0);
  return zul00500::platform::win32::from_wide(folder);
}

} // namespace tool_platform
