// A file system that loses its power: it numbers every operation made on it
// and, from the chosen one on, fails them all, as a machine whose power was
// cut, so that no clean-up, guard or destructor touches the disk after the
// cut. The cut operation itself may be a write torn short.
#pragma once

#include "platform/file_system.h"

#include <functional>
#include <string>
#include <vector>

namespace zul00500::testing {

// What a cut looks like to the operations after it: they fail as a dead disk
// does. Reads, writes, flushes and directory creation throw FileError;
// removal, rename and directory flush return false; the existence tests and
// listings find nothing; short_path gives the path back. native_path only
// names a path and is neither counted nor cut; try_lock is not counted
// either (a lock file holds nothing a power cut could lose) but fails after
// the cut. Everything done before the
// cut is on the disk, so flushes are counted but not passed on.
// Thrown from every pause (and host call) after the cut: the process is
// gone, so its waits end. The package's own guards may swallow it; every
// file operation after the cut fails anyway.
struct PowerCut {};

class CrashFs : public platform::FileSystem {
public:
  struct Operation {
    std::string name; // "write", "append", "remove", ...
    std::string path;
    bool writes_bytes = false; // a write or append, which a cut may tear
  };

  explicit CrashFs(platform::FileSystem& inner = platform::native_fs()) : inner_(inner) {}

  // Numbers the operations from now on (the next is 1) and cuts the power
  // at the `at`th; 0 never cuts. With `tear`, a write or append cut there
  // leaves the first half of its bytes on the disk before it fails.
  void Arm(long long at, bool tear = false);
  // The power is back: operations pass through again, uncounted.
  void PowerOn();
  // Whether flushes reach the disk below (by default they do not, so that
  // thousands of runs do not wait for the real disk; a disk that models
  // what a cut loses needs them).
  void PassFlushes(bool pass) { pass_flushes_ = pass; }
  // Whether Operations() keeps the operations made (by default it does); a
  // long run that only needs the cut keeps none.
  void KeepOperations(bool keep) { keep_ = keep; }
  // The operations made since Arm, counted whether kept or not.
  long long Counted() const { return counted_; }
  // Runs once, at the cut, before the cut operation fails.
  void OnCut(std::function<void()> action) { on_cut_ = std::move(action); }

  bool Cut() const { return cut_; }
  // The operations made since Arm, the cut one last.
  const std::vector<Operation>& Operations() const { return operations_; }

  bool file_exists(const std::string& path) override;
  bool directory_exists(const std::string& path) override;
  bool is_link(const std::string& path) override;
  std::vector<std::string> list(const std::string& pattern) override;
  bool remove_file(const std::string& path) override;
  bool rename_file(const std::string& from, const std::string& to) override;
  std::string read_file(const std::string& path) override;
  std::string read_part(const std::string& path, std::uint64_t offset, std::size_t max_bytes) override;
  void write_file(const std::string& path, std::string_view bytes) override;
  void append_file(const std::string& path, std::string_view bytes) override;
  void flush_file(const std::string& path) override;
  bool flush_directory(const std::string& path) override;
  void create_directories(const std::string& path) override;
  std::string short_path(const std::string& path) override;
  std::string native_path(const std::string& path) override { return inner_.native_path(path); }
  std::unique_ptr<platform::FileLock> try_lock(const std::string& path) override {
    if (armed_ && cut_) Dead("lock", path);
    return inner_.try_lock(path);
  }

private:
  // Counts the operation; false when the power is off for it.
  bool Powered(const char* name, const std::string& path, bool writes_bytes = false);
  [[noreturn]] void Dead(const char* name, const std::string& path) const;

  platform::FileSystem& inner_;
  bool armed_ = false;
  long long at_ = 0;
  bool tear_ = false;
  bool cut_ = false;
  bool keep_ = true;
  bool pass_flushes_ = false;
  long long counted_ = 0;
  std::vector<Operation> operations_;
  std::function<void()> on_cut_;
};

} // namespace zul00500::testing
