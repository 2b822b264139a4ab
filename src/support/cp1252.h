// Code page 1252 is the package's text encoding; these convert at the edges
// (terminal, XML, Win32 wide calls go through the platform).
#pragma once

#include <string>
#include <string_view>

namespace zul00500 {

std::string Cp1252ToUtf8(std::string_view text);
// Characters code page 1252 cannot hold become "?"; invalid UTF-8 bytes are
// taken as code page 1252 bytes, so text that was never UTF-8 survives.
std::string Utf8ToCp1252(std::string_view text);
// Unicode code point of a code page 1252 byte (0x81, 0x8D, 0x8F, 0x90 and
// 0x9D map to themselves).
char32_t Cp1252ToCodePoint(unsigned char byte);

} // namespace zul00500
