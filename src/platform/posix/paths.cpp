#include "platform/posix/paths.h"

#include "platform/process.h"
#include "platform/text_encoding.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <mutex>
#include <unordered_map>
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

// A large directory's entries by their letter-case-folded names, as read
// at a moment the directory's identity and times tell. A name missing
// under its exact spelling is then looked up without reading the whole
// directory again, which made every lookup of a name not there (a new file,
// a file already removed) cost a full read of a directory of thousands of
// leftovers. This process's own changes keep it current (DirectoryChange);
// any other change shows in the directory's times and makes it read again.
// Small directories are cheap to read and not kept.
struct Listing {
  struct stat state;
  std::unordered_map<std::string, std::string> names; // folded -> as on disk (first of each)
};
constexpr std::size_t kCachedFrom = 64;
constexpr std::size_t kCachedDirectories = 16;
std::mutex listings_mutex;
std::unordered_map<std::string, Listing> listings;

bool same_time(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool same_state(const Listing& listing, const struct stat& now) {
  return listing.state.st_dev == now.st_dev && listing.state.st_ino == now.st_ino &&
         same_time(listing.state.st_mtim, now.st_mtim) && same_time(listing.state.st_ctim, now.st_ctim);
}

std::string fold(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) c = static_cast<char>(cp1252_fold_case(static_cast<unsigned char>(c)));
  return folded;
}

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
  const std::string folded = fold(name);
  struct stat now;
  const std::string path = directory.empty() ? std::string(".") : directory;
  if (::stat(path.c_str(), &now) != 0) return {};
  std::lock_guard lock(listings_mutex);
  if (const auto cached = listings.find(path); cached != listings.end() && same_state(cached->second, now)) {
    const auto found = cached->second.names.find(folded);
    return found == cached->second.names.end() ? std::string() : found->second;
  }
  // Read once; kept while nobody else changes the directory.
  Listing listing{now, {}};
  std::string match;
  std::size_t entries = 0;
  std::unique_ptr<DIR, DirCloser> dir(::opendir(path.c_str()));
  if (!dir) return {};
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view entry_name = entry->d_name;
    if (entry_name == "." || entry_name == "..") continue;
    ++entries;
    listing.names.emplace(fold(entry_name), entry_name);
    if (match.empty() && cp1252_equal_ignoring_case(entry_name, name)) match = entry_name;
  }
  if (entries >= kCachedFrom) {
    if (listings.size() >= kCachedDirectories) listings.clear();
    listings[path] = std::move(listing);
  }
  return match;
}

DirectoryChange::DirectoryChange(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  directory_ = slash == std::string::npos ? std::string(".")
               : slash == 0               ? std::string("/")
                                          : path.substr(0, slash);
  name_ = slash == std::string::npos ? path : path.substr(slash + 1);
  std::lock_guard lock(listings_mutex);
  const auto cached = listings.find(directory_);
  if (cached == listings.end()) return;
  struct stat before;
  tracked_ = ::stat(directory_.c_str(), &before) == 0 && same_state(cached->second, before);
  // Changed by someone else meanwhile: read again at the next need.
  if (!tracked_) listings.erase(cached);
}

DirectoryChange::~DirectoryChange() {
  if (!tracked_) return;
  std::lock_guard lock(listings_mutex);
  const auto cached = listings.find(directory_);
  struct stat after;
  if (cached == listings.end() || ::stat(directory_.c_str(), &after) != 0) return;
  Listing& listing = cached->second;
  const std::string key = fold(name_);
  if (entry_exists(join(directory_, name_))) listing.names.emplace(key, name_);
  else if (const auto found = listing.names.find(key); found != listing.names.end() && found->second == name_)
    listing.names.erase(found);
  listing.state = after;
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
