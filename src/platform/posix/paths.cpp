#include "platform/posix/paths.h"

#include "platform/process.h"
#include "platform/text_encoding.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/inotify.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
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

// A large directory's entries by their letter-case-folded names. A name
// missing under its exact spelling is then looked up without reading the
// whole directory again, which made every lookup of a name not there (a new
// file, a file already removed) cost a full read of a directory of
// thousands of leftovers. Small directories are cheap to read and not kept.
//
// The kernel tells every change to a kept directory, this process's and any
// other program's alike (inotify), and each lookup first applies what it
// told. The directory's times cannot tell it: they move in steps (a clock
// tick on many kernels, two seconds on FAT), so another program's change
// within the step of the listing's read, or between this process's change
// and its look at the times, left a listing that missed a new file or kept
// a removed one. Where the kernel cannot tell (no inotify, no watch left),
// nothing is kept.
struct Listing {
  dev_t device;
  ino_t inode;
  std::unordered_map<std::string, std::vector<std::string>> names; // folded -> as on disk, in listing order
};
constexpr std::size_t kCachedFrom = 64;
constexpr std::size_t kCachedDirectories = 16;
std::mutex listings_mutex;
std::unordered_map<int, Listing> listings; // by watch
int notices = -1;                           // the inotify descriptor; -2 when there is none
pid_t notices_owner = 0;                    // the process that made it

std::string fold(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) c = static_cast<char>(cp1252_fold_case(static_cast<unsigned char>(c)));
  return folded;
}

// Listings hold the names as on disk, keyed by their folded package text.
void add_name(Listing& listing, std::string_view name) {
  std::vector<std::string>& spellings = listing.names[fold(package_text(name))];
  if (std::find(spellings.begin(), spellings.end(), name) == spellings.end()) spellings.emplace_back(name);
}

void remove_name(Listing& listing, std::string_view name) {
  const auto found = listing.names.find(fold(package_text(name)));
  if (found == listing.names.end()) return;
  std::vector<std::string>& spellings = found->second;
  spellings.erase(std::remove(spellings.begin(), spellings.end(), name), spellings.end());
  if (spellings.empty()) listing.names.erase(found);
}

#ifdef __linux__
constexpr std::uint32_t kWatched =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_ONLYDIR;

// A child made by fork() shares its parent's notices, and each would read
// away changes the other needs: the child starts again with none.
void leave_parents_notices() {
  if (notices_owner == ::getpid()) return;
  if (notices >= 0) ::close(notices);
  notices = -1;
  listings.clear();
  notices_owner = ::getpid();
}

bool can_watch() {
  if (notices == -1) {
    notices = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (notices < 0) notices = -2;
  }
  return notices >= 0;
}

void forget_all() {
  for (const auto& [watch, listing] : listings) ::inotify_rm_watch(notices, watch);
  listings.clear();
}

// Applies to the kept listings every change the kernel told since the last
// lookup. A queue that overflowed lost some: every listing goes.
void take_notices() {
  if (notices < 0 || listings.empty()) return;
  alignas(inotify_event) char buffer[16384];
  for (;;) {
    const ssize_t length = ::read(notices, buffer, sizeof buffer);
    if (length < 0 && errno == EINTR) continue;
    if (length <= 0) return;
    for (ssize_t at = 0; at < length;) {
      inotify_event event;
      std::memcpy(&event, buffer + at, sizeof event);
      const std::string_view name = event.len > 0 ? std::string_view(buffer + at + sizeof event) : std::string_view();
      at += static_cast<ssize_t>(sizeof event + event.len);
      if (event.mask & IN_Q_OVERFLOW) {
        forget_all();
        continue;
      }
      const auto kept = listings.find(event.wd);
      if (kept == listings.end()) continue;
      if (event.mask & (IN_IGNORED | IN_DELETE_SELF | IN_UNMOUNT)) {
        ::inotify_rm_watch(notices, event.wd);
        listings.erase(kept);
      } else if (event.mask & (IN_CREATE | IN_MOVED_TO)) {
        add_name(kept->second, name);
      } else if (event.mask & (IN_DELETE | IN_MOVED_FROM)) {
        remove_name(kept->second, name);
      }
    }
  }
}

// Starts watching `path` (stat'ed as `before`): the watch comes first, so
// that the listing read after it misses no change. -1 when it cannot.
int watch(const std::string& path, const struct stat& before) {
  if (!can_watch()) return -1;
  if (listings.size() >= kCachedDirectories) forget_all();
  const int watch = ::inotify_add_watch(notices, path.c_str(), kWatched);
  if (watch < 0) return -1;
  struct stat after;
  // Another directory took the path meanwhile: not this one's listing.
  if (listings.count(watch) != 0 || ::stat(path.c_str(), &after) != 0 || after.st_dev != before.st_dev ||
      after.st_ino != before.st_ino) {
    if (listings.count(watch) == 0) ::inotify_rm_watch(notices, watch);
    return -1;
  }
  return watch;
}
#else
void leave_parents_notices() {}
void take_notices() {}
int watch(const std::string&, const struct stat&) { return -1; }
#endif

// The directory's entries, or nullopt when it cannot be read.
std::optional<Listing> read_listing(const std::string& path, const struct stat& identity) {
  std::unique_ptr<DIR, DirCloser> dir(::opendir(path.c_str()));
  if (!dir) return std::nullopt;
  Listing listing{identity.st_dev, identity.st_ino, {}};
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view entry_name = entry->d_name;
    if (entry_name == "." || entry_name == "..") continue;
    add_name(listing, entry_name);
  }
  return listing;
}

std::size_t entry_count(const Listing& listing) {
  std::size_t count = 0;
  for (const auto& [folded, spellings] : listing.names) count += spellings.size();
  return count;
}

std::string first_match(const Listing& listing, std::string_view name) {
  const auto found = listing.names.find(fold(name));
  return found == listing.names.end() ? std::string() : found->second.front();
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
    std::string root = native_text(drive_root());
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
  for (std::size_t i = 0; i < count; ++i) exact = join(exact, native_text(components[i]));
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
    current = join(current, native_text(part));
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

std::string native_text(std::string_view package) { return cp1252_to_utf8(package); }

std::string package_text(std::string_view native) { return utf8_or_cp1252_to_cp1252(native); }

std::string shown_path(std::string_view path) {
  std::string shown(path);
  const bool drive = shown.size() >= 2 && shown[1] == ':';
  if (!drive && !shown.empty() && shown.front() == '/') std::replace(shown.begin(), shown.end(), '\\', '/');
  return shown;
}

std::string find_entry(const std::string& directory, std::string_view name) {
  std::string exact = native_text(name);
  if (entry_exists(join(directory, exact))) return exact;
  const std::string path = directory.empty() ? std::string(".") : directory;
  struct stat now;
  if (::stat(path.c_str(), &now) != 0) return {};
  std::lock_guard lock(listings_mutex);
  leave_parents_notices();
  take_notices();
  for (const auto& [watch, listing] : listings)
    if (listing.device == now.st_dev && listing.inode == now.st_ino) return first_match(listing, name);
  std::optional<Listing> listing = read_listing(path, now);
  if (!listing) return {};
  if (entry_count(*listing) < kCachedFrom) return first_match(*listing, name);
  // Large: kept, read again once watched.
  const int watched = watch(path, now);
  if (watched < 0) return first_match(*listing, name);
  listing = read_listing(path, now);
  if (!listing) {
#ifdef __linux__
    ::inotify_rm_watch(notices, watched);
#endif
    return {};
  }
  return first_match(listings[watched] = std::move(*listing), name);
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
