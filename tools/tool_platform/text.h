// Code page 1252, the package's text, and UTF-8, what POSIX terminals and
// file names speak: the conversions the tools need at their edges. The same
// conversion the package uses, so a text makes the same round trip in both.
#pragma once

#include <string>
#include <string_view>

namespace tool_platform {

std::string cp1252_to_utf8(std::string_view text);
// For text that may be UTF-8 or already code page 1252: bytes that are not
// UTF-8 are kept; characters the code page lacks become "?".
std::string utf8_or_cp1252_to_cp1252(std::string_view text);

} // namespace tool_platform
