#include "platform/text_encoding.h"

#include <array>
#include <cstdint>

namespace zul00500::platform {

namespace {
// 0x80..0x9F; the five bytes the code page leaves undefined map to the C1
// control of the same value, as Windows does, so every byte round-trips.
constexpr std::array<char16_t, 32> high_block = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void append_utf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

int to_cp1252(std::uint32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<int>(code);
  for (std::size_t i = 0; i < high_block.size(); ++i) {
    if (high_block[i] == code) return static_cast<int>(0x80 + i);
  }
  if (code == 0x202F) return 0xA0; // narrow no-break space, a common thousands separator
  return -1;
}

// Decodes one UTF-8 sequence at `pos`; -1 when invalid, having skipped only
// its first byte, so every byte of a malformed sequence is replaced.
long decode(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  int length = lead < 0x80           ? 1
               : (lead >> 5) == 0x6  ? 2
               : (lead >> 4) == 0xE  ? 3
               : (lead >> 3) == 0x1E ? 4
                                     : 0;
  if (length == 0 || pos + length > text.size()) {
    ++pos;
    return -1;
  }
  std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
  for (int i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return -1;
    }
    code = (code << 6) | (next & 0x3F);
  }
  static constexpr std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    ++pos;
    return -1;
  }
  pos += length;
  return static_cast<long>(code);
}

std::string convert_from_utf8(std::string_view text, char replacement, bool keep_invalid_bytes) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    const long code = decode(text, pos);
    if (code < 0 && keep_invalid_bytes) {
      out += text[start];
      continue;
    }
    const int byte = code < 0 ? -1 : to_cp1252(static_cast<std::uint32_t>(code));
    out += byte < 0 ? replacement : static_cast<char>(byte);
  }
  return out;
}
} // namespace

char32_t cp1252_code_point(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? high_block[byte - 0x80] : byte;
}

std::string cp1252_to_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) append_utf8(out, cp1252_code_point(static_cast<unsigned char>(c)));
  return out;
}

std::string utf8_to_cp1252(std::string_view text, char replacement) {
  return convert_from_utf8(text, replacement, false);
}

std::string utf8_or_cp1252_to_cp1252(std::string_view text) { return convert_from_utf8(text, '?', true); }

unsigned char cp1252_fold_case(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  // \xC0..\xDE pair with \xE0..\xFE, except the multiplication sign; and
  // the four letters of the 0x80 block.
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  switch (c) {
  case 0x8A:
    return 0x9A;
  case 0x8C:
    return 0x9C;
  case 0x8E:
    return 0x9E;
  case 0x9F:
    return 0xFF;
  default:
    return c;
  }
}

bool cp1252_equal_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (cp1252_fold_case(static_cast<unsigned char>(a[i])) !=
        cp1252_fold_case(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

} // namespace zul00500::platform
