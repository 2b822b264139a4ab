#include "platform/posix/paths.h"

#include "platform/process.h"
#include "platform/text_encoding.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <vector>

namespace zul00500::platform::posix {

namespace {
bool is_separator(char c) { return c == '\\' || c == '/'; }

bool entry_exists(const std::string& path) {
  struct stat info;
  return ::lstat(path.empty() ? "." : path.c_str(), &info) == 0;
}

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

struct Split {
  std::string base; // "" (working directory), "/" or "<drive root>/x"
  std::vector<std::string_view> components;
  bool trailing_separator = false;
};

// Lexical, as Windows does it: "." vanishes and ".." drops the component
// before it, never climbing above a root.
Split split(std::string_view path) {
  Split result;
  std::size_t pos = 0;
  const bool drive = path.size() >= 2 && path[1] == ':' &&
                     ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z'));
  if (drive) {
    std::string root = drive_root();
    if (!root.empty() && root.back() != '/') root += '/';
    result.base = root + static_cast<char>(cp1252_fold_case(static_cast<unsigned char>(path[0])));
    pos = 2;
  } else if (!path.empty() && is_separator(path[0])) {
    result.base = "/";
  }
  const bool rooted = !result.base.empty();
  while (pos < path.size()) {
    while (pos < path.size() && is_separator(path[pos])) ++pos;
    std::size_t end = pos;
    while (end < path.size() && !is_separator(path[end])) ++end;
    const std::string_view part = path.substr(pos, end - pos);
    pos = end;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!result.components.empty() && result.components.back() != "..") result.components.pop_back();
      else if (!rooted) result.components.push_back(part);
      continue;
    }
    result.components.push_back(part);
  }
  result.trailing_separator = !path.empty() && is_separator(path.back());
  return result;
}

// Walks the components from the base; once one is missing, the rest cannot
// exist either and are kept as written without looking.
std::string walk(const std::string& base, const std::vector<std::string_view>& components,
                 std::size_t count) {
  // Nearly every path the package uses exists as written: then every
  // component matches exactly, which is what the walk would find, one look
  // per component later. One look at the whole path settles it.
  std::string exact = base;
  for (std::size_t i = 0; i < count; ++i) exact = join(exact, components[i]);
  if (count > 0 && entry_exists(exact)) return exact;

  std::string current = base;
  bool searching = true;
  for (std::size_t i = 0; i < count; ++i) {
    const std::string_view part = components[i];
    if (searching && part != "..") {
      const std::string found = find_entry(current, part);
      if (!found.empty()) {
        current = join(current, found);
        continue;
      }
      searching = false;
    }
    current = join(current, part);
  }
  return current;
}
} // namespace

std::string join(const std::string& directory, std::string_view name) {
  if (directory.empty()) return std::string(name);
  std::string result = directory;
  if (result.back() != '/') result += '/';
  result += name;
  return result;
}

std::string find_entry(const std::string& directory, std::string_view name) {
  if (entry_exists(join(directory, name))) return std::string(name);
  std::unique_ptr<DIR, DirCloser> dir(::opendir(directory.empty() ? "." : directory.c_str()));
  if (!dir) return {};
  while (const dirent* entry = ::readdir(dir.get())) {
    if (cp1252_equal_ignoring_case(entry->d_name, name)) return entry->d_name;
  }
  return {};
}

std::string resolve_path(std::string_view path) {
  const Split parts = split(path);
  std::string resolved = walk(parts.base, parts.components, parts.components.size());
  if (resolved.empty()) resolved = ".";
  return resolved;
}

std::string resolve_parent(std::string_view path, std::string& last) {
  const Split parts = split(path);
  const std::size_t count = parts.components.size();
  if (count == 0 || parts.trailing_separator || parts.components.back() == "..") {
    last.clear();
    return walk(parts.base, parts.components, count);
  }
  last = std::string(parts.components.back());
  return walk(parts.base, parts.components, count - 1);
}

} // namespace zul00500::platform::posix
