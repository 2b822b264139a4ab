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
// For text that may be UTF-8 or may already be code page 1252 (a file some
// other program wrote in the code page): bytes that are not UTF-8 are kept
// as they are; characters the code page lacks become "?".
std::string utf8_or_cp1252_to_cp1252(std::string_view text);
// The Unicode code point of a code page 1252 byte.
char32_t cp1252_code_point(unsigned char byte);

// Letter case of code page 1252: ASCII and the accented letters. The one
// table behind every comparison without regard to case (paths, wildcards,
// dataset field names, message keys).
unsigned char cp1252_fold_case(unsigned char c);
bool cp1252_equal_ignoring_case(std::string_view a, std::string_view b);

} // namespace zul00500::platform
