#include "support/observed_file_system.h"

#include "platform/clock.h"

namespace zul00500 {

void ObservedFileSystem::Tell(const char* operation, const std::string& path, std::string_view bytes,
                              const std::string& to) {
  observer_({operation, path, to, bytes, platform::clock().monotonic_ms()});
}

bool ObservedFileSystem::remove_file(const std::string& path) {
  const bool removed = inner_.remove_file(path);
  if (removed) Tell("remove", path, {});
  return removed;
}

bool ObservedFileSystem::rename_file(const std::string& from, const std::string& to) {
  const bool renamed = inner_.rename_file(from, to);
  if (renamed) Tell("rename", from, {}, to);
  return renamed;
}

std::string ObservedFileSystem::read_file(const std::string& path) {
  std::string bytes = inner_.read_file(path);
  Tell("read", path, bytes);
  return bytes;
}

std::string ObservedFileSystem::read_part(const std::string& path, std::uint64_t offset,
                                          std::size_t max_bytes) {
  std::string bytes = inner_.read_part(path, offset, max_bytes);
  if (offset == 0) Tell("read", path, bytes);
  return bytes;
}

void ObservedFileSystem::write_file(const std::string& path, std::string_view bytes) {
  inner_.write_file(path, bytes);
  Tell("write", path, bytes);
}

void ObservedFileSystem::append_file(const std::string& path, std::string_view bytes) {
  inner_.append_file(path, bytes);
  Tell("append", path, bytes);
}

} // namespace zul00500
