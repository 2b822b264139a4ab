#include "journal/journal.h"

#include <cstdio>

#include "tool_platform/files.h"

namespace journal {

std::string EscapeField(std::string_view text, std::string_view extra) {
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else if (c == '\\') out += "\\\\";
    else if (byte < 32 || extra.find(c) != std::string_view::npos) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    } else out += c;
  }
  return out;
}

std::string Line(const std::vector<std::string>& fields, std::string_view extra) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i)
    line += (i == 0 ? "" : "\t") + EscapeField(fields[i], extra);
  return line;
}

void Append(const std::string& path, const std::string& line) {
  tool_platform::append_file(path, line + "\n");
}

} // namespace journal
