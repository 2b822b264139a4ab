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

// True, with the number, when `text` is a number from 1 up written as the
// package writes numbers in names and markers ("7", never "07" or "+7").
bool PositiveDecimal(std::string_view text, std::int32_t& number);

// The most lines a receipt block may have.
inline constexpr std::int32_t kMaxReceiptLines = 999;
// A receipt block's line count (028-000, 710-000, 712-000, 714-000): a
// decimal integer from 0 to kMaxReceiptLines. Throws ConvertError naming
// `what` otherwise: a count beyond that is a broken answer, not a receipt.
std::int32_t ReceiptCount(std::string_view text, const std::string& what);

} // namespace zul00500
