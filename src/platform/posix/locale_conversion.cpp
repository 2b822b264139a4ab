#include "platform/posix/locale_conversion.h"

#include <climits>

namespace zul00500::platform::posix {

std::string effective_locale_name(const char* lc_all, const char* lc_category, const char* lang) {
  for (const char* name : {lc_all, lc_category, lang}) {
    if (name && *name) return name;
  }
  return "C";
}

bool is_configured_locale(std::string_view name) {
  return !name.empty() && name != "C" && name != "POSIX" && !name.starts_with("C.");
}

namespace {
// Composite conversions spelled out, so only simple ones remain.
std::string_view expansion(char conversion) {
  switch (conversion) {
  case 'D':
    return "%m/%d/%y";
  case 'F':
    return "%Y-%m-%d";
  case 'T':
    return "%H:%M:%S";
  case 'R':
    return "%H:%M";
  case 'r':
    return "%I:%M:%S %p";
  default:
    return {};
  }
}

std::string_view token_for(char conversion) {
  switch (conversion) {
  case 'd':
    return "dd";
  case 'e':
    return "d";
  case 'm':
    return "mm";
  case 'y':
    return "yy";
  case 'Y':
    return "yyyy";
  case 'H':
  case 'I':
    return "hh";
  case 'k':
  case 'l':
    return "h";
  case 'M':
    return "nn";
  case 'S':
    return "ss";
  default:
    return {};
  }
}

void convert(std::string_view format, char separator_token, char& separator, bool& found, std::string& out) {
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c == '%' && i + 1 < format.size()) {
      char conversion = format[++i];
      // Flags and the E/O modifiers change nothing we keep.
      while ((conversion == 'E' || conversion == 'O' || conversion == '-' || conversion == '_' ||
              conversion == '0' || conversion == '^' || conversion == '#') &&
             i + 1 < format.size())
        conversion = format[++i];
      if (const std::string_view composite = expansion(conversion); !composite.empty()) {
        convert(composite, separator_token, separator, found, out);
      } else if (conversion == '%') {
        out += '%';
      } else {
        out += token_for(conversion); // names and AM/PM: nothing
      }
      continue;
    }
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!found && !letter && c != ' ') {
      separator = c;
      found = true;
    }
    if (found && c == separator) out += separator_token;
    else if (letter || c == '/' || c == ':' || c == '"') out.append("'").append(1, c).append("'");
    else if (c == '\'') out += "\"'\"";
    else out += c;
  }
}
} // namespace

std::string pattern_from_strftime(std::string_view format, char separator_token, char& separator) {
  std::string out;
  bool found = false;
  char found_separator = separator;
  convert(format, separator_token, found_separator, found, out);
  if (found) separator = found_separator;
  // A dropped AM/PM marker leaves its space behind.
  while (!out.empty() && out.back() == ' ') out.pop_back();
  while (!out.empty() && out.front() == ' ') out.erase(0, 1);
  return out;
}

int currency_format_from(int cs_precedes, int sep_by_space, int fallback) {
  if (cs_precedes == CHAR_MAX || sep_by_space == CHAR_MAX) return fallback;
  return (cs_precedes ? 0 : 1) + (sep_by_space ? 2 : 0);
}

int negative_currency_format_from(int cs_precedes, int sep_by_space, int sign_posn, int fallback) {
  if (cs_precedes == CHAR_MAX || sep_by_space == CHAR_MAX || sign_posn == CHAR_MAX || sign_posn < 0 ||
      sign_posn > 4)
    return fallback;
  // Rows: symbol before / after the amount, without / with a space.
  // Columns: sign_posn 0 (parentheses) to 4 (sign right after the symbol).
  static constexpr int table[4][5] = {
      {0, 1, 3, 1, 2},     // "$1"
      {4, 5, 7, 6, 7},     // "1$"
      {14, 9, 11, 9, 12},  // "$ 1"
      {15, 8, 10, 13, 10}, // "1 $"
  };
  return table[(cs_precedes ? 0 : 1) + (sep_by_space ? 2 : 0)][sign_posn];
}

} // namespace zul00500::platform::posix
