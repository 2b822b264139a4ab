// The portable half of the platform layer: which implementation of each seam
// is in use, name matching, the regional-settings cache, the message hook and
// the process overrides. Everything that calls the OS lives in posix/ or win32/.
#include "platform/clock.h"
#include "platform/detail.h"
#include "platform/file_system.h"
#include "platform/library_loader.h"
#include "platform/message_pump.h"
#include "platform/process.h"
#include "platform/regional.h"
#include "platform/text_encoding.h"

#include <atomic>
#include <mutex>
#include <optional>

namespace zul00500::platform {

// --- current implementations ------------------------------------------------
// A null pointer means "the platform's own"; overrides nest like a stack
// because each Scoped* object puts back what it found.

namespace {
std::atomic<FileSystem*> current_fs{nullptr};
std::atomic<Clock*> current_clock{nullptr};
std::atomic<LibraryLoader*> current_loader{nullptr};
} // namespace

FileSystem& fs() {
  FileSystem* installed = current_fs.load();
  return installed ? *installed : native_fs();
}
ScopedFileSystem::ScopedFileSystem(FileSystem& replacement) : previous_(current_fs.exchange(&replacement)) {}
ScopedFileSystem::~ScopedFileSystem() { current_fs.store(previous_); }

Clock& clock() {
  Clock* installed = current_clock.load();
  return installed ? *installed : native_clock();
}
ScopedClock::ScopedClock(Clock& replacement) : previous_(current_clock.exchange(&replacement)) {}
ScopedClock::~ScopedClock() { current_clock.store(previous_); }

LibraryLoader& loader() {
  LibraryLoader* installed = current_loader.load();
  return installed ? *installed : native_loader();
}
ScopedLibraryLoader::ScopedLibraryLoader(LibraryLoader& replacement)
    : previous_(current_loader.exchange(&replacement)) {}
ScopedLibraryLoader::~ScopedLibraryLoader() { current_loader.store(previous_); }

// --- wildcards ------------------------------------------------------------

namespace {
// "*" and "?" with backtracking to the last star; linear enough for file names.
bool glob(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0;
  std::size_t star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || cp1252_fold_case(static_cast<unsigned char>(pattern[p])) ==
                                         cp1252_fold_case(static_cast<unsigned char>(name[n])))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}
} // namespace

bool wildcard_match(std::string_view pattern, std::string_view name) {
  if (glob(pattern, name)) return true;
  // As on Windows, a final ".*" also matches a name with no extension at all:
  // "*.*" matches "LEIAME" and "intpos.*" matches "intpos".
  std::size_t stars = pattern.find_last_not_of('*');
  if (stars != std::string_view::npos && stars + 1 < pattern.size() && pattern[stars] == '.')
    return glob(pattern.substr(0, stars), name);
  return false;
}

bool has_wildcard(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

// --- regional settings ---------------------------------------------------------

namespace {
std::mutex regional_mutex;
// One object for the life of the process, so references handed out by
// regional() stay valid when the settings are replaced.
RegionalSettings regional_value;
bool regional_loaded = false;
} // namespace

const RegionalSettings& regional() {
  std::lock_guard lock(regional_mutex);
  if (!regional_loaded) {
    regional_value = system_regional_settings();
    regional_loaded = true;
  }
  return regional_value;
}

void set_regional(const RegionalSettings& settings) {
  std::lock_guard lock(regional_mutex);
  regional_value = settings;
  regional_loaded = true;
}

void reset_regional() {
  std::lock_guard lock(regional_mutex);
  regional_loaded = false;
}

// --- message pump -----------------------------------------------------------------

namespace {
std::mutex hook_mutex;
std::function<void(bool)> message_hook;

std::function<void(bool)> current_hook() {
  std::lock_guard lock(hook_mutex);
  return message_hook;
}
} // namespace

void set_message_hook(std::function<void(bool wait)> hook) {
  std::lock_guard lock(hook_mutex);
  message_hook = std::move(hook);
}

void process_messages() {
  // Called outside the lock: a hook may well replace itself.
  if (auto hook = current_hook()) return hook(false);
  detail::native_process_messages();
}

void handle_message(std::uint32_t max_wait_ms) {
  if (auto hook = current_hook()) return hook(true);
  detail::native_handle_message(max_wait_ms);
}

// --- process overrides -------------------------------------------------------------

namespace {
std::mutex process_mutex;
std::optional<std::string> host_path_override;
std::optional<std::string> drive_root_override;
} // namespace

std::string host_executable_path() {
  {
    std::lock_guard lock(process_mutex);
    if (host_path_override) return *host_path_override;
  }
  return detail::native_host_executable_path();
}

void set_host_executable_path(const std::string& path) {
  std::lock_guard lock(process_mutex);
  if (path.empty()) host_path_override.reset();
  else host_path_override = path;
}

std::string drive_root() {
  {
    std::lock_guard lock(process_mutex);
    if (drive_root_override) return *drive_root_override;
  }
  return detail::default_drive_root();
}

void set_drive_root(const std::string& folder) {
  std::lock_guard lock(process_mutex);
  if (folder.empty()) drive_root_override.reset();
  else drive_root_override = folder;
}

} // namespace zul00500::platform
