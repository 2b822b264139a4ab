#include "support/number_format.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/errors.h"
#include "support/string_list.h"
#include "support/text.h"

namespace zul00500 {

namespace {

struct Decimal {
  bool negative = false;
  std::string integer;  // at least one digit, no leading zeros
  std::string fraction; // exactly the requested number of digits
};

// The host formats from 15 significant decimal digits and rounds those half
// away from zero, so 1.005 gives 1.01 (a binary rounding would give 1.00).
Decimal to_decimal(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.14e", value); // "-d.dddddddddddddde+XX"
  const char* cursor = text;
  Decimal out;
  if (*cursor == '-') {
    out.negative = true;
    ++cursor;
  }
  std::string digits(1, cursor[0]);
  digits.append(cursor + 2, 14);
  const int exponent = std::atoi(cursor + 17);

  int point = exponent + 1; // digits before the decimal point
  if (point < 1) {
    digits.insert(0, static_cast<std::size_t>(1 - point), '0');
    point = 1;
  }
  const auto wanted = static_cast<std::size_t>(point + decimals);
  if (digits.size() < wanted) digits.append(wanted - digits.size(), '0');
  const bool round_up = digits.size() > wanted && digits[wanted] >= '5';
  digits.resize(wanted);
  if (round_up) {
    std::size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) {
      digits.insert(0, 1, '1');
      ++point;
    } else {
      ++digits[i - 1];
    }
  }

  out.integer = digits.substr(0, static_cast<std::size_t>(point));
  out.fraction = digits.substr(static_cast<std::size_t>(point));
  const std::size_t first = out.integer.find_first_not_of('0');
  out.integer.erase(0, first == std::string::npos ? out.integer.size() - 1 : first);
  // No "-0,00".
  if (digits.find_first_not_of('0') == std::string::npos) out.negative = false;
  return out;
}

// What the host writes for values that are not numbers.
std::string not_finite(double value) { return std::isnan(value) ? "NAN" : value < 0 ? "-INF" : "INF"; }

std::string group_thousands(const std::string& integer, char separator) {
  if (separator == '\0') return integer;
  std::string out;
  for (std::size_t i = 0; i < integer.size(); ++i) {
    if (i > 0 && (integer.size() - i) % 3 == 0) out += separator;
    out += integer[i];
  }
  return out;
}

// The Windows placements of the currency symbol around a negative amount.
std::string negative_currency(const std::string& n, const std::string& s, int format) {
  switch (format) {
  case 0:
    return "(" + s + n + ")";
  case 1:
    return "-" + s + n;
  case 2:
    return s + "-" + n;
  case 3:
    return s + n + "-";
  case 4:
    return "(" + n + s + ")";
  case 5:
    return "-" + n + s;
  case 6:
    return n + "-" + s;
  case 7:
    return n + s + "-";
  case 8:
    return "-" + n + " " + s;
  case 9:
    return "-" + s + " " + n;
  case 10:
    return n + " " + s + "-";
  case 11:
    return s + " " + n + "-";
  case 12:
    return s + " -" + n;
  case 13:
    return n + "- " + s;
  case 14:
    return "(" + s + " " + n + ")";
  case 15:
    return "(" + n + " " + s + ")";
  default:
    return "-" + s + n;
  }
}

std::string positive_currency(const std::string& n, const std::string& s, int format) {
  switch (format) {
  case 1:
    return n + s;
  case 2:
    return s + " " + n;
  case 3:
    return n + " " + s;
  default:
    return s + n;
  }
}

} // namespace

std::string CentsText(double amount, const platform::RegionalSettings& settings) {
  if (!std::isfinite(amount)) return not_finite(amount);
  const Decimal decimal = to_decimal(amount, 2);
  std::string text =
      (decimal.negative ? "-" : "") + decimal.integer + settings.decimal_separator + decimal.fraction;
  const std::size_t separator = text.find(settings.decimal_separator);
  if (separator != std::string::npos) text.erase(separator, 1);
  return text;
}

std::string FormatCurr(double amount, const platform::RegionalSettings& settings) {
  if (!std::isfinite(amount)) return not_finite(amount);
  const Decimal decimal = to_decimal(amount, 2);
  const std::string number = group_thousands(decimal.integer, settings.thousand_separator) +
                             settings.decimal_separator + decimal.fraction;
  return decimal.negative
             ? negative_currency(number, settings.currency_string, settings.negative_currency_format)
             : positive_currency(number, settings.currency_string, settings.currency_format);
}

// A decimal number as the host reads one: blanks around it, an optional sign,
// the regional decimal separator, an optional exponent; no grouping.
double StrToFloat(const std::string& text, const std::string& what, const platform::RegionalSettings& settings) {
  const char separator = settings.decimal_separator;
  std::string number;
  bool valid = true;
  for (char c : Trim(text)) {
    if (c == separator) c = '.';
    else if (c == '.') valid = false;
    number += c;
  }
  std::size_t start = !number.empty() && (number[0] == '+' || number[0] == '-') ? 1 : 0;
  const bool digit_first = number.size() > start &&
                           (std::isdigit(static_cast<unsigned char>(number[start])) || number[start] == '.');
  double value = 0;
  if (valid && digit_first) {
    const char* begin = number.data() + start;
    const char* end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(begin, end, value);
    valid = error == std::errc() && stop == end;
    if (number[0] == '-') value = -value;
  } else {
    valid = false;
  }
  if (!valid) throw ConvertError("read a number from", what, "\"" + text + "\" is not a valid number");
  return value;
}

// An amount as the host's general number format writes it: up to fifteen
// significant digits, the regional decimal separator.
std::string FloatToStr(double value, const platform::RegionalSettings& settings) {
  if (!std::isfinite(value)) return not_finite(value);
  char text[40];
  std::snprintf(text, sizeof text, "%.15g", value);
  std::string out(text);
  for (char& c : out)
    if (c == '.') c = settings.decimal_separator;
  // The host writes exponents as "E-5" and "E20": no plus sign, no padding.
  const std::size_t e = out.find('e');
  if (e != std::string::npos) {
    std::string exponent = out.substr(e + 1);
    const bool negative = exponent[0] == '-';
    exponent.erase(0, exponent.find_first_not_of("+-0"));
    out = out.substr(0, e) + "E" + (negative ? "-" : "") + exponent;
  }
  return out;
}

} // namespace zul00500
