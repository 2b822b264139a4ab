#include "support/text.h"

#include <charconv>

#include "zul00500/errors.h"
#include "zul00500/string_list.h"

namespace zul00500 {

char UpperCase1252(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte >= 'a' && byte <= 'z') return static_cast<char>(byte - 32);
  if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7) return static_cast<char>(byte - 32);
  if (byte == 0x9A || byte == 0x9C || byte == 0x9E) return static_cast<char>(byte - 16);
  if (byte == 0xFF) return static_cast<char>(0x9F);
  return c;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (UpperCase1252(a[i]) != UpperCase1252(b[i])) return false;
  return true;
}

bool TryStrToInt(std::string_view text, std::int32_t& value) {
  const std::string trimmed = Trim(text);
  std::string_view digits = trimmed;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  if (digits.empty() || digits.front() == '+') return false;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return error == std::errc() && end == digits.data() + digits.size();
}

std::int32_t StrToInt(std::string_view text, const std::string& what) {
  std::int32_t value = 0;
  if (!TryStrToInt(text, value))
    throw ConvertError("read a number from", what, "\"" + std::string(text) + "\" is not a valid integer");
  return value;
}

} // namespace zul00500
