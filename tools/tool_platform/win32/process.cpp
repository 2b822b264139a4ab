// What the tools alone ask of Windows; the rest is the platform layer's
// (process.cpp).
#include "tool_platform/process.h"

#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>

#include "platform/win32/wide.h"

namespace tool_platform {

void binary_stdout() {
  std::fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
}

bool stderr_is_terminal() {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

std::string machine_description() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  std::string machine = GetComputerNameW(name, &size)
                            ? zul00500::platform::win32::from_wide(std::wstring(name, size))
                            : std::string("unknown machine");
  // GetVersionEx lies to programs without a manifest; RtlGetVersion does not.
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  const auto get =
      ntdll
          ? reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
          : nullptr;
  if (get && get(&version) == 0)
    machine += " (Windows " + std::to_string(version.dwMajorVersion) + "." +
               std::to_string(version.dwMinorVersion) + "." + std::to_string(version.dwBuildNumber) + ")";
  else machine += " (Windows)";
  return machine;
}

} // namespace tool_platform
