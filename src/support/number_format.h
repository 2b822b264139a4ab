// Amounts as text, the way the host's number formatting writes them: the
// value is first reduced to 15 significant digits, then rounded half away
// from zero to two decimals.
#pragma once

#include <string>

#include "platform/regional.h"

namespace zul00500 {

// The amount of a sale request in whole cents without separator: the amount
// formatted with the pattern "0.00" in the regional number format, less the
// first decimal separator. 1234.56 gives "123456", 0.5 gives "050".
std::string CentsText(double amount, const platform::RegionalSettings& settings = platform::regional());

// A currency amount with two decimals in the regional currency format:
// symbol and its placement (positive and negative), decimal and thousands
// separators. 12.5 under Brazilian settings gives "R$ 12,50".
std::string FormatCurr(double amount, const platform::RegionalSettings& settings = platform::regional());

// A decimal number as the host reads one: blanks around it, an optional sign,
// the regional decimal separator, an optional exponent; no grouping. Throws
// ConvertError naming `what`.
double StrToFloat(const std::string& text, const std::string& what,
                  const platform::RegionalSettings& settings = platform::regional());

// A number as the host's general format writes it: up to fifteen significant
// digits, the regional decimal separator.
std::string FloatToStr(double value, const platform::RegionalSettings& settings = platform::regional());

} // namespace zul00500
