// Text helpers shared by the package's routines (code page 1252 strings).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zul00500 {

// Equal without regard to letter case (ASCII and the code page 1252 letters).
bool SameText(std::string_view a, std::string_view b);

// Reads a decimal integer as the host platform does: leading and trailing
// blanks allowed, an optional sign, digits only, within 32 bits. Throws
// ConvertError naming `what` (a field or a file) otherwise.
std::int32_t StrToInt(std::string_view text, const std::string& what);
// The same reading, without throwing.
bool TryStrToInt(std::string_view text, std::int32_t& value);

} // namespace zul00500
