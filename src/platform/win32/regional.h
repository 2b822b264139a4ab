// What the Windows locale says, read through a function so that tests can
// play a locale whose texts the package's code page cannot hold.
#pragma once

#include "platform/regional.h"

#include <functional>
#include <string>

namespace zul00500::platform::win32 {

enum class LocaleItem {
  DecimalSeparator,
  ThousandSeparator,
  Currency,
  CurrencyFormat,
  NegativeCurrencyFormat,
  CurrencyDigits,
  DateSeparator,
  TimeSeparator,
  ShortDate,
  LongTime,
};

// The settings from the locale's texts (UTF-16, as GetLocaleInfoW gives
// them; empty when the locale has none). A text that code page 1252 cannot
// hold, such as a narrow no-break space as thousands separator, is not used:
// the setting keeps its default, as on POSIX.
RegionalSettings regional_settings_from(const std::function<std::wstring(LocaleItem)>& locale_text);

} // namespace zul00500::platform::win32
