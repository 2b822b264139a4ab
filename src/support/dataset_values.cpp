#include "support/dataset_values.h"

#include <cmath>
#include <cstring>
#include <optional>

#include "platform/date_time.h"
#include "platform/text_encoding.h"
#include "support/errors.h"
#include "support/number_format.h"
#include "support/text.h"

namespace zul00500::dataset {

namespace {

constexpr long long kMsPerDay = 86'400'000;
// The binary packet counts days from 0001-01-01, which is day 1; the host's
// date values count them from 1899-12-30.
constexpr long long kDaysTo1899 = 693'594;
// 9999-12-31, the host's last date, in the packet's count.
constexpr long long kLastDay = 3'652'059;

Cell value(std::string text) { return {CellState::Value, std::move(text), {}}; }
Cell unreadable(std::string reason) { return {CellState::Value, {}, std::move(reason)}; }

std::string printable(std::string_view text) { return "\"" + std::string(text) + "\""; }

// Digits with the regional decimal separator: no leading zeros, no trailing
// fraction zeros, no "-0" (how the host writes a BCD value).
std::string decimal_text(bool negative, std::string_view integer, std::string_view fraction) {
  const std::size_t first = integer.find_first_not_of('0');
  integer = first == std::string_view::npos ? std::string_view("0") : integer.substr(first);
  const std::size_t last = fraction.find_last_not_of('0');
  fraction = last == std::string_view::npos ? std::string_view() : fraction.substr(0, last + 1);
  std::string out = negative && (integer != "0" || !fraction.empty()) ? "-" : "";
  out += integer;
  if (!fraction.empty()) out += platform::regional().decimal_separator + std::string(fraction);
  return out;
}

bool all_digits(std::string_view text) {
  return text.find_first_not_of("0123456789") == std::string_view::npos;
}

int digits_value(std::string_view digits) {
  int value = 0;
  for (const char c : digits) value = value * 10 + (c - '0');
  return value;
}

// The text of a date, time or both, when the parts make one.
std::optional<std::string> date_time_text(const platform::DateTimeParts& parts, const char* pattern) {
  if (parts.year < 1 || parts.year > 9999 || parts.month < 1 || parts.month > 12 || parts.day < 1 ||
      parts.hour > 23 || parts.minute > 59 || parts.second > 59 || parts.millisecond > 999)
    return std::nullopt;
  // Reject 31 February and the like: the day must come back as written.
  const platform::DateTimeParts back = platform::decode_date_time(
      static_cast<double>(platform::days_from_civil(parts.year, parts.month, parts.day)));
  if (back.year != parts.year || back.month != parts.month || back.day != parts.day) return std::nullopt;
  return platform::FormatDateTime(pattern, platform::encode_date_time(parts));
}

platform::DateTimeParts day_parts(long long packet_day) {
  return platform::decode_date_time(static_cast<double>(packet_day - kDaysTo1899));
}

void set_time(platform::DateTimeParts& parts, long long ms) {
  parts.hour = static_cast<int>(ms / 3'600'000);
  parts.minute = static_cast<int>(ms / 60'000 % 60);
  parts.second = static_cast<int>(ms / 1000 % 60);
  parts.millisecond = static_cast<int>(ms % 1000);
}

Cell date_cell(long long day) {
  if (day < 1 || day > kLastDay) return unreadable("the date " + std::to_string(day) + " is out of range");
  return value(*date_time_text(day_parts(day), "ddddd"));
}

Cell time_cell(long long ms) {
  if (ms < 0 || ms >= kMsPerDay) return unreadable("the time " + std::to_string(ms) + " is out of range");
  platform::DateTimeParts parts;
  set_time(parts, ms);
  return value(*date_time_text(parts, "tt"));
}

Cell time_stamp_cell(double ms) {
  if (!std::isfinite(ms) || ms < kMsPerDay || ms >= static_cast<double>((kLastDay + 1) * kMsPerDay))
    return unreadable("the time stamp " + FloatToStr(ms) + " is out of range");
  const auto total = static_cast<long long>(std::llround(ms));
  platform::DateTimeParts parts = day_parts(total / kMsPerDay);
  set_time(parts, total % kMsPerDay);
  return value(*date_time_text(parts, "c"));
}

// The host's BCD record: precision, then sign (bit 7) and decimal places
// (bits 0-5), then the digits two to a byte, high nibble first.
Cell bcd_cell(std::string_view bytes) {
  if (bytes.size() < 2) return unreadable("a BCD value of " + std::to_string(bytes.size()) + " bytes");
  const auto precision = static_cast<unsigned char>(bytes[0]);
  const auto sign_places = static_cast<unsigned char>(bytes[1]);
  const unsigned places = sign_places & 0x3Fu;
  if (places > precision || precision > 2 * (bytes.size() - 2))
    return unreadable("a BCD value of precision " + std::to_string(precision) + " and " +
                      std::to_string(places) + " decimals in " + std::to_string(bytes.size()) + " bytes");
  std::string digits;
  for (unsigned i = 0; i < precision; ++i) {
    const auto byte = static_cast<unsigned char>(bytes[2 + i / 2]);
    const unsigned digit = i % 2 == 0 ? byte >> 4 : byte & 0x0Fu;
    if (digit > 9) return unreadable("a BCD value with the nibble " + std::to_string(digit));
    digits += static_cast<char>('0' + digit);
  }
  const std::string_view all(digits);
  return value(decimal_text((sign_places & 0x80u) != 0, all.substr(0, precision - places),
                            all.substr(precision - places)));
}

// UTF-16LE up to its first zero character, in code page 1252.
std::string unicode_text(std::string_view bytes) {
  std::string utf8;
  auto put = [&utf8](char32_t c) {
    if (c < 0x80) utf8 += static_cast<char>(c);
    else if (c < 0x800) utf8 += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
    else if (c < 0x10000)
      utf8 += {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
               static_cast<char>(0x80 | (c & 0x3F))};
    else
      utf8 += {static_cast<char>(0xF0 | c >> 18), static_cast<char>(0x80 | (c >> 12 & 0x3F)),
               static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
  };
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t unit = static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (unit == 0) break;
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
      const char32_t low = static_cast<unsigned char>(bytes[i + 2]) | static_cast<unsigned char>(bytes[i + 3])
                                                                          << 8;
      if (low >= 0xDC00 && low < 0xE000) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    put(unit >= 0xD800 && unit < 0xE000 ? U'?' : unit);
  }
  return platform::utf8_to_cp1252(utf8);
}

std::string integer_text(bool is_signed, std::string_view bytes) {
  const std::uint64_t raw = LittleEndian(bytes);
  if (!is_signed) return std::to_string(raw);
  const unsigned bits = static_cast<unsigned>(bytes.size() * 8);
  const bool negative = bits < 64 ? (raw >> (bits - 1) & 1) != 0 : (raw >> 63) != 0;
  const std::uint64_t extended = negative && bits < 64 ? raw | ~((std::uint64_t{1} << bits) - 1) : raw;
  return std::to_string(static_cast<std::int64_t>(extended));
}

Cell fixed_size_cell(TypeWord type, std::string_view bytes) {
  const std::size_t size = bytes.size();
  const bool integral = size == 1 || size == 2 || size == 4 || size == 8;
  switch (type.code()) {
  case kTypeSigned:
  case kTypeUnsigned:
    if (integral) return value(integer_text(type.code() == kTypeSigned, bytes));
    break;
  case kTypeBoolean:
    if (integral) return value(LittleEndian(bytes) != 0 ? "True" : "False");
    break;
  case kTypeFloat:
    if (size == 8) {
      double number = 0;
      std::memcpy(&number, bytes.data(), 8);
      return value(FloatToStr(number));
    }
    if (size == 4) {
      float number = 0;
      std::memcpy(&number, bytes.data(), 4);
      return value(FloatToStr(number));
    }
    break;
  case kTypeDate:
    if (size == 4) return date_cell(static_cast<std::int32_t>(LittleEndian(bytes)));
    break;
  case kTypeTime:
    if (size == 4) return time_cell(static_cast<std::int32_t>(LittleEndian(bytes)));
    break;
  case kTypeTimeStamp:
    if (size == 8) {
      double ms = 0;
      std::memcpy(&ms, bytes.data(), 8);
      return time_stamp_cell(ms);
    }
    break;
  default:
    break;
  }
  return unreadable("a value of type " + std::to_string(type.code()) + " and " + std::to_string(size) +
                    " bytes");
}

// The XML packet's dates: "20240131", times "13:45:30" with or without
// three digits of milliseconds, and both joined by "T".
std::optional<std::string> xml_date_time(std::string_view text, bool date, bool time) {
  platform::DateTimeParts parts;
  if (date) {
    if (text.size() < 8 || !all_digits(text.substr(0, 8))) return std::nullopt;
    parts.year = digits_value(text.substr(0, 4));
    parts.month = digits_value(text.substr(4, 2));
    parts.day = digits_value(text.substr(6, 2));
    text.remove_prefix(8);
    if (time) {
      if (text.empty() || (text[0] != 'T' && text[0] != 't')) return std::nullopt;
      text.remove_prefix(1);
    }
  }
  if (time) {
    if ((text.size() != 8 && text.size() != 11) || text[2] != ':' || text[5] != ':') return std::nullopt;
    const std::string_view hh = text.substr(0, 2), nn = text.substr(3, 2), ss = text.substr(6, 2);
    const std::string_view zzz = text.substr(8);
    if (!all_digits(hh) || !all_digits(nn) || !all_digits(ss) || !all_digits(zzz)) return std::nullopt;
    parts.hour = digits_value(hh);
    parts.minute = digits_value(nn);
    parts.second = digits_value(ss);
    parts.millisecond = digits_value(zzz);
  } else if (!text.empty()) {
    return std::nullopt;
  }
  return date_time_text(parts, date && time ? "c" : date ? "ddddd" : "tt");
}

// "-12.50" as the host writes a BCD value.
std::optional<std::string> xml_decimal(std::string_view text) {
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  const std::size_t point = text.find('.');
  const std::string_view integer = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (integer.empty() && fraction.empty()) return std::nullopt;
  if (!all_digits(integer) || !all_digits(fraction)) return std::nullopt;
  return decimal_text(negative, integer, fraction);
}

std::optional<std::string> xml_float(const std::string& text) {
  platform::RegionalSettings settings = platform::regional();
  settings.decimal_separator = '.';
  try {
    return FloatToStr(StrToFloat(text, "the value", settings));
  } catch (const ConvertError&) {
    return std::nullopt;
  }
}

} // namespace

std::uint64_t LittleEndian(std::string_view bytes) {
  std::uint64_t value = 0;
  for (std::size_t i = bytes.size(); i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[i]);
  return value;
}

Cell BinaryCell(TypeWord type, std::string_view bytes) {
  switch (type.code()) {
  case kTypeString:
    return value(std::string(bytes.substr(0, bytes.find('\0'))));
  case kTypeUnicode:
    return value(unicode_text(bytes));
  case kTypeBcd:
    return bcd_cell(bytes);
  case kTypeBytes:
  case kTypeAdt:
  case kTypeArray:
  case kTypeTable:
  case kTypeReference:
    return value({});
  default:
    break;
  }
  if (type.code() == 0 || type.code() > kTypeReference)
    return unreadable("the unknown type code " + std::to_string(type.code()));
  if (type.variable() || type.array())
    return unreadable("a variable-length value of type " + std::to_string(type.code()));
  return fixed_size_cell(type, bytes);
}

Cell XmlCell(std::string_view fieldtype, const std::string& text) {
  std::optional<std::string> shown = text;
  if (SameText(fieldtype, "boolean"))
    shown = SameText(text, "TRUE")    ? std::optional<std::string>("True")
            : SameText(text, "FALSE") ? std::optional<std::string>("False")
                                      : std::nullopt;
  else if (SameText(fieldtype, "r8") || SameText(fieldtype, "r4")) shown = xml_float(text);
  else if (SameText(fieldtype, "fixed") || SameText(fieldtype, "fixedFMT")) shown = xml_decimal(text);
  else if (SameText(fieldtype, "date")) shown = xml_date_time(text, true, false);
  else if (SameText(fieldtype, "time")) shown = xml_date_time(text, false, true);
  else if (SameText(fieldtype, "dateTime") || SameText(fieldtype, "SQLdateTime"))
    shown = xml_date_time(text, true, true);
  else if (SameText(fieldtype, "bin.hex") || SameText(fieldtype, "nested")) shown = std::string();
  if (!shown) return unreadable("the value " + printable(text) + " is not a valid " + std::string(fieldtype));
  return value(std::move(*shown));
}

} // namespace zul00500::dataset
