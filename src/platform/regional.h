// Regional settings: what the machine's locale says about numbers, money,
// dates and times. Read from the system once; tests install their own.
#pragma once

#include <string>

namespace zul00500::platform {

struct RegionalSettings {
  char decimal_separator = ',';
  char thousand_separator = '.';
  std::string currency_string = "R$";
  // Placement of the currency symbol for positive amounts:
  // 0 "R$1", 1 "1R$", 2 "R$ 1", 3 "1 R$".
  int currency_format = 2;
  // Placement for negative amounts, the Windows codes 0 to 15.
  int negative_currency_format = 9;
  int currency_decimals = 2;
  // Date and time patterns: d dd m mm yy yyyy, h hh n nn s ss; "/" and ":"
  // stand for the separators below.
  std::string short_date_format = "dd/mm/yyyy";
  std::string long_time_format = "hh:nn:ss";
  char date_separator = '/';
  char time_separator = ':';
};

// The settings in use: the system's unless replaced.
const RegionalSettings& regional();
void set_regional(const RegionalSettings& settings);
// Forgets a replacement; the next regional() asks the system again.
void reset_regional();
// What the system says, read afresh.
RegionalSettings system_regional_settings();

} // namespace zul00500::platform
