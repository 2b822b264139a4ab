// Dates and times as the host platform keeps them: a real number of days since
// 1899-12-30 00:00, the fraction being the time of day. Conversion to and from
// calendar fields, and the host's formatting routines. Pure arithmetic, no OS.
#pragma once

#include "platform/regional.h"

#include <string>
#include <string_view>

namespace zul00500::platform {

struct DateTimeParts {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;

  bool operator==(const DateTimeParts&) const = default;
};

// Rounds to the nearest millisecond first, as the host does. A negative value
// counts days before 1899-12-30 and its fraction is still the time of day.
DateTimeParts decode_date_time(double value);
// Fields must be valid (month 1-12, day within the month, and so on).
double encode_date_time(const DateTimeParts& parts);
// Days from 1899-12-30 to a calendar date (proleptic Gregorian).
long long days_from_civil(int year, int month, int day);

// The host's FormatDateTime. Tokens, case-insensitive: d dd (day), ddddd
// (short date), m mm (month; minutes right after an h/hh token), yy yyyy,
// h hh, n nn, s ss, z zzz, c (short date and long time, the time only when
// not midnight), t tt (long time), "/" and ":" (the separators). Text in
// single or double quotes is copied as it is; any other character too. Day
// and month names (ddd, mmm...) and AM/PM are not supported: names print as
// the two-digit number, and "am/pm" as the tokens its letters are.
std::string FormatDateTime(std::string_view pattern, double value,
                           const RegionalSettings& settings = regional());
// Short date, a space and long time; only the date when the time is midnight.
std::string DateTimeToStr(double value, const RegionalSettings& settings = regional());

} // namespace zul00500::platform
