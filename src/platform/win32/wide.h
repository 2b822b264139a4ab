// Code page 1252 <-> UTF-16 for the wide Win32 calls, and system error texts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zul00500::platform::win32 {

std::wstring to_wide(std::string_view text);
std::string from_wide(std::wstring_view text);
// Nothing when code page 1252 lacks a character of `text` (no best fit).
std::optional<std::string> from_wide_exact(std::wstring_view text);
// The system's message for an error code (GetLastError), without the line end.
std::string error_text(unsigned long code);

} // namespace zul00500::platform::win32
