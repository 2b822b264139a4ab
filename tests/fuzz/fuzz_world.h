// What every fuzz target runs in: the package's file seam on memory, a clock
// whose pauses take no time, silent dialogs and Brazilian regional settings,
// so that one input costs microseconds and touches no disk.
#pragma once

#include <map>
#include <string>

#include "platform/file_system.h"

namespace zul00500::fuzzing {

// Files by exact path; every directory exists. Appends (the card log) are
// dropped, so memory does not grow with the number of inputs.
class MemoryFs : public platform::FileSystem {
public:
  void Put(const std::string& path, std::string bytes) { files_[path] = std::move(bytes); }
  void Clear() {
    files_.clear();
    kinds_.clear();
  }
  // What lies at `path` besides a regular file we may read: a reading of it
  // throws as the platform's would.
  enum class Kind { Unreadable, Busy, NotRegular };
  void Mark(const std::string& path, Kind kind) { kinds_[path] = kind; }

  bool file_exists(const std::string& path) override;
  bool directory_exists(const std::string&) override { return true; }
  bool is_link(const std::string&) override { return false; }
  std::vector<std::string> list(const std::string& pattern) override;
  bool remove_file(const std::string& path) override { return files_.erase(path) != 0; }
  bool rename_file(const std::string& from, const std::string& to) override;
  std::string read_file(const std::string& path) override;
  std::string read_part(const std::string& path, std::uint64_t offset, std::size_t max_bytes) override;
  void write_file(const std::string& path, std::string_view bytes) override { files_[path] = bytes; }
  void append_file(const std::string&, std::string_view) override {}
  void flush_file(const std::string&) override {}
  bool flush_directory(const std::string&) override { return true; }
  void create_directories(const std::string&) override {}
  std::string short_path(const std::string& path) override { return path; }
  std::string native_path(const std::string& path) override { return path; }
  // The world has one process: every lock is free, and nothing is written.
  std::unique_ptr<platform::FileLock> try_lock(const std::string& path) override;

private:
  std::map<std::string, std::string> files_;
  std::map<std::string, Kind> kinds_;
};

// Installs the world once, for the life of the fuzzing process, and returns
// its file system.
MemoryFs& FuzzWorld();

} // namespace zul00500::fuzzing
