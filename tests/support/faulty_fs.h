// A file system that passes every call on to another (the native one by
// default), records it, and fails the calls a test chooses: the way to check
// that a routine cleans up and loses nothing when a disk operation fails.
#pragma once

#include "platform/file_system.h"

#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace zul00500::testing {

enum class FsOp {
  FileExists,
  DirectoryExists,
  List,
  RemoveFile,
  RenameFile,
  ReadFile,
  WriteFile,
  AppendFile,
  FlushFile,
  FlushDirectory,
  CreateDirectories,
  ShortPath,
  TryLock,
  NativePath,
};

enum class Fault {
  // Nothing happens. read/write/append/flush_file/create_directories/try_lock
  // throw FileError; remove/rename/flush_directory return false; file_exists, directory_exists and list find
  // nothing; short_path returns the path unchanged. native_path never fails.
  Fail,
  // write/append only: the first half of the bytes reach the file, then
  // NoSpaceError, like a full disk. Other operations fail as with Fail.
  Torn,
};

struct FsCall {
  FsOp op;
  std::string path;
  std::string to; // rename only
  bool failed = false;

  bool operator==(const FsCall&) const = default;
};

class FaultyFs : public platform::FileSystem {
public:
  explicit FaultyFs(platform::FileSystem& inner = platform::native_fs()) : inner_(inner) {}

  // Fails the `n`th call of `op` made from now on (1 is the next one).
  void fail_call(FsOp op, int n, Fault fault = Fault::Fail) { add_rule(op, n, false, fault); }
  // Fails the `n`th call of `op` from now on and every later one.
  void fail_from(FsOp op, int n, Fault fault = Fault::Fail) { add_rule(op, n, true, fault); }
  // Fails every call of `op` on a path that contains `part`, from now on.
  void fail_path(FsOp op, std::string part, Fault fault = Fault::Fail);
  // Fails every call of `op` on a file directly inside `directory` (a
  // trailing separator or not; letter case ignored), from now on: a
  // directory made read-only, for example.
  void fail_directory(FsOp op, const std::string& directory, Fault fault = Fault::Fail);
  // Forgets every fault still waiting, the torn and busy reads included.
  void heal();

  // The next `times` reads of `path` give only its first `keep` bytes, as
  // when the manager is still writing it; later reads give it whole.
  void tear_reads(const std::string& path, std::size_t keep, int times = 1);
  // The next `times` reads of `path` throw FileBusyError, as when another
  // program holds it open without sharing it.
  void busy_reads(const std::string& path, int times);
  // The next `times` reads of `path` throw UnreadableFile, as for another
  // user's file this process may not read (mode 000).
  void unreadable_reads(const std::string& path, int times);

  // Whether calls() records the calls (by default it does); a long run that
  // only injects faults records none.
  void keep_calls(bool keep);

  std::vector<FsCall> calls() const;
  // Paths of the calls of one operation, in order (for rename, the source).
  std::vector<std::string> paths(FsOp op) const;
  int count(FsOp op) const;
  void clear_calls();

  bool file_exists(const std::string& path) override;
  bool directory_exists(const std::string& path) override;
  // Passed on, neither recorded nor failed.
  bool is_link(const std::string& path) override { return inner_.is_link(path); }
  std::vector<std::string> list(const std::string& pattern) override;
  bool remove_file(const std::string& path) override;
  bool rename_file(const std::string& from, const std::string& to) override;
  std::string read_file(const std::string& path) override;
  // Counts as a read (FsOp::ReadFile); torn and busy reads apply to it.
  std::string read_part(const std::string& path, std::uint64_t offset, std::size_t max_bytes) override;
  void write_file(const std::string& path, std::string_view bytes) override;
  void append_file(const std::string& path, std::string_view bytes) override;
  void flush_file(const std::string& path) override;
  bool flush_directory(const std::string& path) override;
  void create_directories(const std::string& path) override;
  std::string short_path(const std::string& path) override;
  std::string native_path(const std::string& path) override;
  std::unique_ptr<platform::FileLock> try_lock(const std::string& path) override;

private:
  struct Rule {
    FsOp op;
    long long first; // position in the op's call count
    bool onwards;
    Fault fault;
    std::string part;       // when set: calls on paths holding it, whatever their number
    bool directory = false; // `part` is the folded directory the path must lie in
  };
  static constexpr std::size_t op_count = static_cast<std::size_t>(FsOp::NativePath) + 1;

  void add_rule(FsOp op, int n, bool onwards, Fault fault);
  std::string read(const std::string& path, std::uint64_t offset, std::size_t max_bytes);
  // Records the call; the fault to inject, if any.
  std::optional<Fault> enter(FsOp op, const std::string& path, const std::string& to = {});

  struct ReadRule {
    std::string path;
    std::optional<std::size_t> keep; // none: busy, or denied
    int times;
    bool denied = false;
  };

  platform::FileSystem& inner_;
  mutable std::mutex mutex_;
  std::vector<Rule> rules_;
  std::vector<ReadRule> read_rules_;
  std::vector<FsCall> calls_;
  bool keep_calls_ = true;
  long long made_[op_count] = {};
};

} // namespace zul00500::testing
