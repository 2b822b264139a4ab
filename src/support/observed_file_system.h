// A file system that tells an observer of every change and every read it
// made, after it made it, with the bytes and the monotonic time: the package's
// own account of what it put in the exchange folders and what it found there.
// A rehearsal judges from it, not from a watcher that may miss a file which
// lives a few milliseconds. Failed operations are not told (the waits' reads
// of a file not there yet would drown the rest).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace zul00500 {

struct FileObservation {
  const char* operation; // "write", "append", "rename", "read", "remove"
  const std::string& path;
  const std::string& to;  // a rename's new name; empty otherwise
  std::string_view bytes; // written or read; empty for a rename or a removal
  std::uint64_t monotonic_ms;
};

class ObservedFileSystem final : public platform::FileSystem {
public:
  using Observer = std::function<void(const FileObservation&)>;
  // Forwards every call to `inner`; `observer` must not throw.
  ObservedFileSystem(platform::FileSystem& inner, Observer observer)
      : inner_(inner), observer_(std::move(observer)) {}

  bool file_exists(const std::string& path) override { return inner_.file_exists(path); }
  bool directory_exists(const std::string& path) override { return inner_.directory_exists(path); }
  bool is_link(const std::string& path) override { return inner_.is_link(path); }
  std::vector<std::string> list(const std::string& pattern) override { return inner_.list(pattern); }
  bool remove_file(const std::string& path) override;
  bool rename_file(const std::string& from, const std::string& to) override;
  std::string read_file(const std::string& path) override;
  // Told only from the file's start: a probe further in (a size measured
  // byte by byte) reads no content.
  std::string read_part(const std::string& path, std::uint64_t offset, std::size_t max_bytes) override;
  void write_file(const std::string& path, std::string_view bytes) override;
  void append_file(const std::string& path, std::string_view bytes) override;
  void flush_file(const std::string& path) override { inner_.flush_file(path); }
  bool flush_directory(const std::string& path) override { return inner_.flush_directory(path); }
  void create_directories(const std::string& path) override { inner_.create_directories(path); }
  std::string short_path(const std::string& path) override { return inner_.short_path(path); }
  std::string native_path(const std::string& path) override { return inner_.native_path(path); }
  std::unique_ptr<platform::FileLock> try_lock(const std::string& path) override {
    return inner_.try_lock(path);
  }

private:
  void Tell(const char* operation, const std::string& path, std::string_view bytes,
            const std::string& to = {});

  platform::FileSystem& inner_;
  Observer observer_;
};

} // namespace zul00500
