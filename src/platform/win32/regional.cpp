// Regional settings from the user's locale (Control Panel), as the host's own
// start-up reads them.
#include "platform/win32/regional.h"

#include "platform/win32/wide.h"

#include <windows.h>

#include <cstdlib>
#include <optional>

namespace zul00500::platform {

namespace win32 {
namespace {
// A separator must be one byte of the code page.
void read_char(const std::optional<std::string>& text, char& target) {
  if (text && text->size() == 1) target = (*text)[0];
}

void read_int(const std::optional<std::string>& text, int low, int high, int& target) {
  if (!text || text->empty()) return;
  char* end = nullptr;
  const long value = std::strtol(text->c_str(), &end, 10);
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

LCTYPE lctype(LocaleItem item) {
  // In the order of LocaleItem.
  static constexpr LCTYPE types[] = {
      LOCALE_SDECIMAL,    LOCALE_STHOUSAND, LOCALE_SCURRENCY, LOCALE_ICURRENCY,  LOCALE_INEGCURR,
      LOCALE_ICURRDIGITS, LOCALE_SDATE,     LOCALE_STIME,     LOCALE_SSHORTDATE, LOCALE_STIMEFORMAT};
  return types[static_cast<std::size_t>(item)];
}

// The wide call: the ANSI one turns what the code page lacks into "?",
// which would then pass for a separator.
std::wstring system_locale_text(LocaleItem item) {
  wchar_t buffer[128];
  const int length = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, lctype(item), buffer, 128);
  return length > 1 ? std::wstring(buffer, static_cast<std::size_t>(length - 1)) : std::wstring();
}
} // namespace

RegionalSettings regional_settings_from(const std::function<std::wstring(LocaleItem)>& locale_text) {
  const auto text = [&](LocaleItem item) -> std::optional<std::string> {
    const std::wstring wide = locale_text(item);
    if (wide.empty()) return std::nullopt;
    return from_wide_exact(wide);
  };
  RegionalSettings settings;
  read_char(text(LocaleItem::DecimalSeparator), settings.decimal_separator);
  read_char(text(LocaleItem::ThousandSeparator), settings.thousand_separator);
  if (auto currency = text(LocaleItem::Currency)) settings.currency_string = std::move(*currency);
  read_int(text(LocaleItem::CurrencyFormat), 0, 3, settings.currency_format);
  read_int(text(LocaleItem::NegativeCurrencyFormat), 0, 15, settings.negative_currency_format);
  read_int(text(LocaleItem::CurrencyDigits), 0, 9, settings.currency_decimals);
  read_char(text(LocaleItem::DateSeparator), settings.date_separator);
  read_char(text(LocaleItem::TimeSeparator), settings.time_separator);
  if (const auto date = text(LocaleItem::ShortDate))
    settings.short_date_format = host_pattern(*date, settings.date_separator, '/');
  if (const auto time = text(LocaleItem::LongTime))
    settings.long_time_format = host_pattern(*time, settings.time_separator, ':');
  return settings;
}

} // namespace win32

RegionalSettings system_regional_settings() {
  return win32::regional_settings_from(win32::system_locale_text);
}

} // namespace zul00500::platform
