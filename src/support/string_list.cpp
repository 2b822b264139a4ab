#include "support/string_list.h"

#include "platform/file_system.h"

namespace zul00500 {

std::string Trim(std::string_view text) {
  auto is_blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && is_blank(text[first])) ++first;
  while (last > first && is_blank(text[last - 1])) --last;
  return std::string(text.substr(first, last - first));
}

int StringList::IndexOf(std::string_view line) const {
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i] == line) return static_cast<int>(i);
  return -1;
}

std::string StringList::Value(std::string_view name) const {
  for (const std::string& line : lines_) {
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos && std::string_view(line).substr(0, eq) == name)
      return line.substr(eq + 1);
  }
  return {};
}

std::string StringList::Field(std::string_view name) const { return Trim(Value(name)); }

std::string StringList::Text() const {
  std::string text;
  for (const std::string& line : lines_) {
    text += line;
    text += "\r\n";
  }
  return text;
}

void StringList::SetText(std::string_view text) {
  lines_.clear();
  // A plain scan: find_first_of calls memchr on its set for every character.
  auto line_end = [&text](std::size_t from) {
    for (std::size_t at = from; at < text.size(); ++at)
      if (text[at] == '\r' || text[at] == '\n') return at;
    return std::string_view::npos;
  };
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = line_end(start);
    if (end == std::string_view::npos) {
      lines_.emplace_back(text.substr(start));
      break;
    }
    lines_.emplace_back(text.substr(start, end - start));
    if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
}

void StringList::LoadFromFile(const std::string& path) { SetText(platform::fs().read_file(path)); }

void StringList::SaveToFile(const std::string& path) const { platform::fs().write_file(path, Text()); }

} // namespace zul00500
