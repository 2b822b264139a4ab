// Code page 1252 is the package's text; UTF-8 is what POSIX terminals and
// locales speak. These convert at those edges.
#pragma once

#include <string>
#include <string_view>

namespace zul00500::platform {

std::string cp1252_to_utf8(std::string_view text);
// Characters code page 1252 lacks, and bytes that are not UTF-8, become
// `replacement`.
std::string utf8_to_cp1252(std::string_view text, char replacement = '?');

} // namespace zul00500::platform
