#include "output.h"

#include <cstdio>

#include "tool_platform/text.h"

namespace zulpos {

std::string ToTerminal(std::string_view cp1252) { return tool_platform::cp1252_to_utf8(cp1252); }

std::string FromTerminal(std::string_view utf8) { return tool_platform::utf8_or_cp1252_to_cp1252(utf8); }

std::string PackagePath(std::string_view terminal) { return FromTerminal(terminal); }

#ifdef _WIN32
std::string PathToTerminal(std::string_view path) { return ToTerminal(path); }
std::string PathFromTerminal(std::string_view path) { return FromTerminal(path); }
#else
std::string PathToTerminal(std::string_view path) { return std::string(path); }
std::string PathFromTerminal(std::string_view path) { return std::string(path); }
#endif

namespace {
std::string escape_controls(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r') escaped += "\\r";
    else if (c == '\n') escaped += "\\n";
    else if (c == '\t') escaped += "\\t";
    else if (byte < 32 || byte == 127) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      escaped += hex;
    } else escaped += c;
  }
  return escaped;
}
} // namespace

std::string ResultValue(std::string_view cp1252) { return ToTerminal(escape_controls(cp1252)); }

void Output::BeforeWrite() {
  if (before_write_) before_write_();
}

void Output::Line(std::string_view cp1252) {
  BeforeWrite();
  stream_ << ToTerminal(cp1252) << std::endl;
}

void Output::Text(std::string_view utf8) {
  BeforeWrite();
  for (std::size_t start = 0;;) {
    const std::size_t end = utf8.find('\n', start);
    stream_ << indent_ << utf8.substr(start, end - start) << "\n";
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  stream_ << std::flush;
}

void Output::Result(std::string_view key, std::string_view cp1252_value) {
  BeforeWrite();
  stream_ << key << "=" << ResultValue(cp1252_value) << std::endl;
}

void Output::PathResult(std::string_view key, std::string_view path) {
  BeforeWrite();
  stream_ << key << "=" << PathToTerminal(escape_controls(path)) << std::endl;
}

} // namespace zulpos
