#include "fuzz_world.h"

#include <memory>

#include "platform/clock.h"
#include "platform/process.h"
#include "platform/regional.h"
#include "support/errors.h"
#include "support/host_services.h"
#include "support/state.h"

namespace zul00500::fuzzing {

namespace {

std::pair<std::string, std::string> split(const std::string& path) {
  const std::size_t cut = path.find_last_of('\\') + 1;
  return {path.substr(0, cut), path.substr(cut)};
}

// 2026-12-07 08:00, standing still; a pause ends at once, and only the
// monotonic count moves on, so that every bounded wait still ends.
class StillClock : public platform::Clock {
public:
  double now() override { return 46363.3333333; }
  std::uint64_t monotonic_ms() override { return paused_ms_; }
  void sleep(std::uint32_t milliseconds) override { paused_ms_ += milliseconds; }

private:
  std::uint64_t paused_ms_ = 0;
};

// Every dialog answered "no", nothing shown.
class SilentHost : public HostServices {
public:
  bool Mensagem(const std::string&, const std::string&, const std::string&, const std::string&, int,
                const std::string&, const std::string&, int, const ClientDataSet*) override {
    return false;
  }
};

} // namespace

bool MemoryFs::file_exists(const std::string& path) {
  if (!platform::has_wildcard(path)) return files_.count(path) != 0;
  return !list(path).empty();
}

std::vector<std::string> MemoryFs::list(const std::string& pattern) {
  const auto [directory, last] = split(pattern);
  std::vector<std::string> names;
  for (const auto& [path, bytes] : files_) {
    const auto [where, name] = split(path);
    if (where == directory && platform::wildcard_match(last, name)) names.push_back(name);
  }
  return names;
}

namespace {
class FreeLock : public platform::FileLock {
public:
  bool describe(std::string_view) override { return true; }
};
} // namespace

std::unique_ptr<platform::FileLock> MemoryFs::try_lock(const std::string&) {
  return std::make_unique<FreeLock>();
}

bool MemoryFs::rename_file(const std::string& from, const std::string& to) {
  const auto found = files_.find(from);
  if (found == files_.end()) return false;
  std::string bytes = std::move(found->second);
  files_.erase(found);
  files_[to] = std::move(bytes);
  return true;
}

std::string MemoryFs::read_file(const std::string& path) {
  const auto found = files_.find(path);
  if (found == files_.end()) throw FileError("read", path, "no such file");
  return found->second;
}

std::string MemoryFs::read_part(const std::string& path, std::uint64_t offset, std::size_t max_bytes) {
  if (const auto kind = kinds_.find(path); kind != kinds_.end()) switch (kind->second) {
    case Kind::Unreadable:
      throw UnreadableFile("read", path, "permission denied");
    case Kind::Busy:
      throw FileBusyError("read", path, "held without sharing");
    case Kind::NotRegular:
      throw NotRegularFile("read", path, "it is a FIFO, not a regular file");
    }
  const std::string bytes = read_file(path);
  return offset >= bytes.size() ? std::string() : bytes.substr(static_cast<std::size_t>(offset), max_bytes);
}

MemoryFs& FuzzWorld() {
  static MemoryFs files;
  static StillClock clock;
  static const bool installed = [] {
    static platform::ScopedFileSystem scoped_fs(files);
    static platform::ScopedClock scoped_clock(clock);
    platform::set_host_executable_path("c:\\pdv\\host.exe");
    platform::set_regional(platform::RegionalSettings{});
    SetHostServices(std::make_shared<SilentHost>());
    Initialize();
    return true;
  }();
  (void)installed;
  return files;
}

} // namespace zul00500::fuzzing
