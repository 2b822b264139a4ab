#include "platform/date_time.h"

#include <cmath>
#include <cstdlib>

namespace zul00500::platform {

namespace {
constexpr long long ms_per_day = 86'400'000;
// 1970-01-01 counted from 1899-12-30.
constexpr long long unix_epoch_days = 25'569;

// Howard Hinnant's days_from_civil / civil_from_days, counted from 1970.
long long days_since_1970(int y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153LL * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civil_from_days(long long z, int& year, int& month, int& day) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}
} // namespace

long long days_from_civil(int year, int month, int day) {
  return days_since_1970(year, month, day) + unix_epoch_days;
}

DateTimeParts decode_date_time(double value) {
  // nearbyint rounds half to even, like the host's Round.
  const auto total = static_cast<long long>(std::nearbyint(value * static_cast<double>(ms_per_day)));
  const long long days = total / ms_per_day; // toward zero: the date of -1.25 is day -1
  long long ms = std::llabs(total) % ms_per_day;

  DateTimeParts parts;
  civil_from_days(days - unix_epoch_days, parts.year, parts.month, parts.day);
  parts.hour = static_cast<int>(ms / 3'600'000);
  ms %= 3'600'000;
  parts.minute = static_cast<int>(ms / 60'000);
  ms %= 60'000;
  parts.second = static_cast<int>(ms / 1000);
  parts.millisecond = static_cast<int>(ms % 1000);
  return parts;
}

double encode_date_time(const DateTimeParts& parts) {
  const auto date = static_cast<double>(days_from_civil(parts.year, parts.month, parts.day));
  const double time = static_cast<double>(((parts.hour * 60LL + parts.minute) * 60 + parts.second) * 1000 +
                                          parts.millisecond) /
                      static_cast<double>(ms_per_day);
  return date < 0 ? date - time : date + time;
}

namespace {
void append_number(std::string& out, int value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < width) out.append(width - digits.size(), '0');
  out += digits;
}

bool is_midnight(const DateTimeParts& t) {
  return t.hour == 0 && t.minute == 0 && t.second == 0 && t.millisecond == 0;
}

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// Nested patterns (short date inside "c", and so on) are expanded one level
// deep only, so a settings pattern that names itself cannot loop.
void format_into(std::string& out, std::string_view pattern, const DateTimeParts& t,
                 const RegionalSettings& settings, int depth) {
  if (depth > 1) return;
  char last_letter = 0;
  std::size_t i = 0;
  while (i < pattern.size()) {
    const char starter = pattern[i];
    std::size_t count = 1;
    while (i + count < pattern.size() && pattern[i + count] == starter) ++count;
    char token = upper(starter);
    if (token >= 'A' && token <= 'Z') {
      // "hh:mm" means minutes: an m right after an hour token.
      if (token == 'M' && last_letter == 'H') token = 'N';
      last_letter = token;
    }
    switch (token) {
    case 'Y':
      append_number(out, count <= 2 ? t.year % 100 : t.year, count <= 2 ? 2 : 4);
      break;
    case 'M':
      append_number(out, t.month, count == 1 ? 1 : 2);
      break;
    case 'D':
      if (count >= 5) format_into(out, settings.short_date_format, t, settings, depth + 1);
      else append_number(out, t.day, count == 1 ? 1 : 2);
      break;
    case 'H':
      append_number(out, t.hour, count == 1 ? 1 : 2);
      break;
    case 'N':
      append_number(out, t.minute, count == 1 ? 1 : 2);
      break;
    case 'S':
      append_number(out, t.second, count == 1 ? 1 : 2);
      break;
    case 'Z':
      append_number(out, t.millisecond, count == 1 ? 1 : 3);
      break;
    case 'T':
      format_into(out, settings.long_time_format, t, settings, depth + 1);
      break;
    case 'C':
      format_into(out, settings.short_date_format, t, settings, depth + 1);
      if (!is_midnight(t)) {
        out += ' ';
        format_into(out, settings.long_time_format, t, settings, depth + 1);
      }
      break;
    case '/':
      out.append(count, settings.date_separator);
      break;
    case ':':
      out.append(count, settings.time_separator);
      break;
    case '\'':
    case '"': {
      // Quoted text: everything up to the matching quote, which is dropped.
      const std::size_t close = pattern.find(starter, i + 1);
      const std::size_t end = close == std::string_view::npos ? pattern.size() : close;
      out.append(pattern.substr(i + 1, end - i - 1));
      i = close == std::string_view::npos ? pattern.size() : close + 1;
      continue;
    }
    default:
      out.append(count, starter);
      break;
    }
    i += count;
  }
}
} // namespace

std::string FormatDateTime(std::string_view pattern, double value, const RegionalSettings& settings) {
  std::string out;
  format_into(out, pattern.empty() ? std::string_view("c") : pattern, decode_date_time(value), settings, 0);
  return out;
}

std::string DateTimeToStr(double value, const RegionalSettings& settings) {
  return FormatDateTime("c", value, settings);
}

} // namespace zul00500::platform
