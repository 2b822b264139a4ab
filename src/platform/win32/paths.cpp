#include "platform/win32/paths.h"

#include "platform/detail.h"
#include "platform/process.h"
#include "platform/text_encoding.h"

#include <vector>

namespace zul00500::platform::win32 {

namespace {
bool is_separator(char c) { return c == '\\' || c == '/'; }

bool is_drive_path(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z'));
}

std::vector<std::string_view> components_of(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t pos = 0;
  while (pos < path.size()) {
    while (pos < path.size() && is_separator(path[pos])) ++pos;
    std::size_t end = pos;
    while (end < path.size() && !is_separator(path[end])) ++end;
    if (end > pos) parts.push_back(path.substr(pos, end - pos));
    pos = end;
  }
  return parts;
}

// Lexical, as Windows does it, but never above the first component.
std::vector<std::string_view> normalized(std::string_view path) {
  std::vector<std::string_view> parts;
  for (const std::string_view part : components_of(path)) {
    if (part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  return parts;
}

// The length of the written root at the start of `path`, or 0 when the path
// does not lie under it. Letter case and the kind of separator do not count.
std::size_t root_prefix(std::string_view path, std::string_view root) {
  while (!root.empty() && is_separator(root.back())) root.remove_suffix(1);
  if (root.empty() || path.size() < root.size()) return 0;
  for (std::size_t i = 0; i < root.size(); ++i) {
    const char a = path[i], b = root[i];
    if (is_separator(a) && is_separator(b)) continue;
    if (cp1252_fold_case(static_cast<unsigned char>(a)) != cp1252_fold_case(static_cast<unsigned char>(b)))
      return 0;
  }
  return path.size() == root.size() || is_separator(path[root.size()]) ? root.size() : 0;
}
} // namespace

MappedPath map_path(std::string_view path) {
  MappedPath mapped;
  mapped.native = std::string(path);
  mapped.trailing_separator = !path.empty() && is_separator(path.back());
  const std::string root = drive_root();
  if (root.empty()) return mapped;
  if (const std::size_t prefix = root_prefix(path, root)) {
    mapped.kept = std::string(path.substr(0, prefix));
    mapped.components = components_of(path.substr(prefix)).size();
    return mapped;
  }
  if (!is_drive_path(path)) return mapped;

  const std::vector<std::string_view> parts = normalized(path.substr(2));
  mapped.kept = std::string(path.substr(0, 2));
  mapped.components = parts.size();
  mapped.native = root;
  if (!is_separator(mapped.native.back())) mapped.native += '\\';
  mapped.native += static_cast<char>(cp1252_fold_case(static_cast<unsigned char>(path[0])));
  for (const std::string_view part : parts) {
    mapped.native += '\\';
    mapped.native += part;
  }
  if (mapped.trailing_separator && !parts.empty()) mapped.native += '\\';
  return mapped;
}

std::string MappedPath::back(std::string_view system_path) const {
  if (kept.empty()) return std::string(system_path);
  const std::vector<std::string_view> parts = components_of(system_path);
  std::string result = kept;
  const std::size_t own = components < parts.size() ? components : parts.size();
  for (std::size_t i = parts.size() - own; i < parts.size(); ++i) {
    result += '\\';
    result += parts[i];
  }
  // "c:" alone would mean the drive's current directory.
  if (trailing_separator || (own == 0 && result.size() == 2 && result[1] == ':')) result += '\\';
  return result;
}

} // namespace zul00500::platform::win32
