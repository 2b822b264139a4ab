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

namespace {
int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
} // namespace

std::vector<std::string> Fields(std::string_view line) {
  std::vector<std::string> fields(1);
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '\t') {
      fields.emplace_back();
      continue;
    }
    if (c != '\\' || i + 1 == line.size()) {
      fields.back() += c;
      continue;
    }
    const char next = line[++i];
    if (next == 'r') fields.back() += '\r';
    else if (next == 'n') fields.back() += '\n';
    else if (next == 't') fields.back() += '\t';
    else if (next == 'x' && i + 2 < line.size() && hex_value(line[i + 1]) >= 0 &&
             hex_value(line[i + 2]) >= 0) {
      fields.back() += static_cast<char>(hex_value(line[i + 1]) * 16 + hex_value(line[i + 2]));
      i += 2;
    } else fields.back() += next; // "\\" and anything unknown: the byte itself
  }
  return fields;
}

void Append(const std::string& path, const std::string& line) {
  tool_platform::append_file(path, line + "\n");
}

} // namespace journal
