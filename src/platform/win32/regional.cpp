// Regional settings from the user's locale (Control Panel), as the host's own
// start-up reads them.
#include "platform/regional.h"

#include <windows.h>

#include <cstdlib>

namespace zul00500::platform {

namespace {
std::string locale_info(LCTYPE type) {
  char buffer[128];
  const int length = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
  return length > 1 ? std::string(buffer, static_cast<std::size_t>(length - 1)) : std::string();
}

void read_char(LCTYPE type, char& target) {
  const std::string text = locale_info(type);
  if (text.size() == 1) target = text[0];
}

void read_int(LCTYPE type, int low, int high, int& target) {
  const std::string text = locale_info(type);
  if (text.empty()) return;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (*end == '\0' && value >= low && value <= high) target = static_cast<int>(value);
}

// A Windows picture ("dd/MM/yyyy", "h:mm:ss tt") in the host's tokens: the
// locale's separator becomes the separator token; AM/PM markers are dropped.
std::string host_pattern(const std::string& picture, char separator, char token) {
  std::string out;
  bool quoted = false;
  for (std::size_t i = 0; i < picture.size(); ++i) {
    const char c = picture[i];
    if (c == '\'') quoted = !quoted;
    if (quoted || c == '\'') out += c;
    else if (c == separator) out += token;
    else if (c != 't' && c != 'T') out += c;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}
} // namespace

RegionalSettings system_regional_settings() {
  RegionalSettings settings;
  read_char(LOCALE_SDECIMAL, settings.decimal_separator);
  read_char(LOCALE_STHOUSAND, settings.thousand_separator);
  if (std::string currency = locale_info(LOCALE_SCURRENCY); !currency.empty())
    settings.currency_string = std::move(currency);
  read_int(LOCALE_ICURRENCY, 0, 3, settings.currency_format);
  read_int(LOCALE_INEGCURR, 0, 15, settings.negative_currency_format);
  read_int(LOCALE_ICURRDIGITS, 0, 9, settings.currency_decimals);
  read_char(LOCALE_SDATE, settings.date_separator);
  read_char(LOCALE_STIME, settings.time_separator);
  if (std::string date = locale_info(LOCALE_SSHORTDATE); !date.empty())
    settings.short_date_format = host_pattern(date, settings.date_separator, '/');
  if (std::string time = locale_info(LOCALE_STIMEFORMAT); !time.empty())
    settings.long_time_format = host_pattern(time, settings.time_separator, ':');
  return settings;
}

} // namespace zul00500::platform
