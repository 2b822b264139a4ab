#include "support/text.h"

#include <charconv>

#include "platform/text_encoding.h"
#include "support/errors.h"
#include "support/string_list.h"

namespace zul00500 {

bool SameText(std::string_view a, std::string_view b) { return platform::cp1252_equal_ignoring_case(a, b); }

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

bool PositiveDecimal(std::string_view text, std::int32_t& number) {
  if (text.empty() || text.front() < '1' || text.front() > '9') return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc() && end == text.data() + text.size();
}

std::int32_t ReceiptCount(std::string_view text, const std::string& what) {
  const std::int32_t count = StrToInt(text, what);
  if (count < 0 || count > kMaxReceiptLines)
    throw ConvertError("read a receipt line count from", what,
                       std::to_string(count) + " is not between 0 and " + std::to_string(kMaxReceiptLines));
  return count;
}

} // namespace zul00500
