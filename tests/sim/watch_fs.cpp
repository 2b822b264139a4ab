#include "sim/watch_fs.h"

namespace zul00500::sim {

namespace {
std::string Yes(bool value) { return value ? "yes" : "no"; }
std::string Done(bool value) { return value ? "" : " -> fails"; }

bool IsRequest(const std::string& path) {
  constexpr std::string_view name = "req\\intpos.001";
  return path.size() >= name.size() && path.compare(path.size() - name.size(), name.size(), name) == 0;
}
// A request taken back: "req\~intpos.<sequence>.ret".
bool IsWithdrawn(const std::string& path) {
  return path.ends_with(".ret") && path.find("req\\~intpos.") != std::string::npos;
}
} // namespace

bool WatchFs::file_exists(const std::string& path) {
  const bool found = inner_.file_exists(path);
  if (timeline_.On()) Say("exists " + path + "? " + Yes(found));
  return found;
}

bool WatchFs::directory_exists(const std::string& path) {
  const bool found = inner_.directory_exists(path);
  if (timeline_.On()) Say("directory " + path + "? " + Yes(found));
  return found;
}

std::vector<std::string> WatchFs::list(const std::string& pattern) {
  std::vector<std::string> names = inner_.list(pattern);
  if (timeline_.On()) {
    std::string shown;
    for (const std::string& name : names) shown += " " + name;
    Say("list " + pattern + ":" + (shown.empty() ? " (nothing)" : shown));
  }
  return names;
}

bool WatchFs::remove_file(const std::string& path) {
  const bool done = inner_.remove_file(path);
  if (timeline_.On()) Say("remove " + path + Done(done));
  return done;
}

bool WatchFs::rename_file(const std::string& from, const std::string& to) {
  const bool done = inner_.rename_file(from, to);
  if (timeline_.On()) Say("rename " + from + " -> " + to + Done(done));
  if (done && (IsRequest(to) || IsWithdrawn(to))) on_request_(to);
  return done;
}

std::string WatchFs::read_file(const std::string& path) {
  std::string bytes = Told("read", path, [&] { return inner_.read_file(path); });
  if (timeline_.On()) Say("read " + path + " (" + std::to_string(bytes.size()) + " bytes)");
  return bytes;
}

std::string WatchFs::read_part(const std::string& path, std::uint64_t offset, std::size_t max_bytes) {
  std::string bytes = Told("read", path, [&] { return inner_.read_part(path, offset, max_bytes); });
  if (timeline_.On())
    Say("read " + path + " from " + std::to_string(offset) + " (" + std::to_string(bytes.size()) + " bytes)");
  return bytes;
}

std::unique_ptr<platform::FileLock> WatchFs::try_lock(const std::string& path) {
  auto lock = Told("lock", path, [&] { return inner_.try_lock(path); });
  if (timeline_.On()) Say("lock " + path + (lock ? "" : " -> held elsewhere"));
  return lock;
}

void WatchFs::write_file(const std::string& path, std::string_view bytes) {
  Told("write", path, [&] { inner_.write_file(path, bytes); });
  if (timeline_.On()) Say("write " + path + " (" + std::to_string(bytes.size()) + " bytes)");
}

void WatchFs::append_file(const std::string& path, std::string_view bytes) {
  Told("append", path, [&] { inner_.append_file(path, bytes); });
  if (timeline_.On()) Say("append " + path + ": " + std::string(bytes.substr(0, bytes.find('\r'))));
}

void WatchFs::flush_file(const std::string& path) {
  Told("flush", path, [&] { inner_.flush_file(path); });
}

bool WatchFs::flush_directory(const std::string& path) { return inner_.flush_directory(path); }

void WatchFs::create_directories(const std::string& path) {
  Told("create directory", path, [&] { inner_.create_directories(path); });
  if (timeline_.On()) Say("create directory " + path);
}

} // namespace zul00500::sim
