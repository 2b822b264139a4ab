// A disk in memory, with the Windows rules the package relies on: drive
// paths written with "\", names matched without regard to letter case,
// wildcards in the last component, rename over an existing file in one step.
// The simulator runs a million days on it; the real disk would cost
// milliseconds per file operation.
//
// Besides the package's seam it offers what the package's neighbours do on
// the same disk: a manager writing a file in place while the package may
// read it, and another program holding a file without sharing it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace zul00500::testing {

class MemoryFs : public platform::FileSystem {
public:
  // How another program holds a file open.
  enum class Hold {
    SharedRead, // writing it in place: the package may read what is there, not remove or replace it
    Exclusive,  // no sharing at all: every access of the package fails as busy
  };

  MemoryFs();

  // --- the package's seam --------------------------------------------------
  bool file_exists(const std::string& path) override;
  bool directory_exists(const std::string& path) override;
  // A memory disk holds no links.
  bool is_link(const std::string&) override { return false; }
  // Sorted by name without regard to case, as NTFS lists a directory.
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
  std::string short_path(const std::string& path) override { return path; }
  std::string native_path(const std::string& path) override { return path; }
  // Taken by one holder at a time, whichever object of this process holds
  // it; a power cut (LoseUnflushed) lets go of every lock.
  std::unique_ptr<platform::FileLock> try_lock(const std::string& path) override;

  // --- the neighbours: no hold stops these ---------------------------------
  // What else than a regular file or a directory a program may put in a
  // directory. None is ever read through the seam (NotRegularFile), nor
  // written to; each is removed or renamed itself; a link's read_file reads
  // its target, as the platform follows a link there.
  enum class Special { Fifo, Device, Link };
  // Creates or replaces an entry of that kind (its directory must exist);
  // false when it cannot. `target` is a link's.
  bool PutSpecial(const std::string& path, Special kind, const std::string& target = {});

  // Creates or replaces a file whole (its directory must exist); false when
  // it cannot (no directory, a directory in its place).
  bool Put(const std::string& path, std::string_view bytes) { return Store(path, bytes, false); }
  bool Extend(const std::string& path, std::string_view bytes) { return Store(path, bytes, true); }
  bool Drop(const std::string& path);
  // The bytes of a file, or false when there is none.
  bool Peek(const std::string& path, std::string& bytes) const;
  // Every file under `directory` (its subdirectories included), full paths.
  std::vector<std::string> FilesUnder(const std::string& directory) const;
  void RemoveTree(const std::string& directory);

  // Each program that holds a file lets go of its own hold only: a file
  // stays held while another still holds it.
  void Hold(const std::string& path, Hold how);
  void Release(const std::string& path, enum Hold how);
  bool Held(const std::string& path) const;

  // --- the power ------------------------------------------------------------
  // What the package writes reaches the disk once flushed, or once the
  // system wrote it back by itself, `writeback_ms` after its last write; a
  // neighbour's writes are taken as on the disk at once. Without a clock
  // every write is on the disk at once.
  void SetClock(std::function<std::int64_t()> now, std::int64_t writeback_ms) {
    now_ = std::move(now);
    writeback_ms_ = writeback_ms;
  }
  // A power cut: every file the package wrote and neither flushed nor had
  // written back goes back to what was last on the disk (nothing, for a
  // file never flushed), and every lock goes with the process that held it.
  // Returns the paths that lost bytes.
  std::vector<std::string> LoseUnflushed();

  // The number of files and their bytes, for a report.
  std::size_t Bytes() const;

private:
  struct Node {
    std::string name; // the last component as it was created
    bool directory = false;
    std::string bytes;
    std::string durable; // what a power cut leaves
    bool dirty = false;  // written by the package since its last flush
    std::int64_t written_at = 0;
    std::optional<Special> special; // none: a regular file (or a directory)
    std::string target;             // a link's
  };

  // The key of a path: its components folded to lower case, joined by "\".
  static std::string Key(std::string_view path);
  static std::string Parent(const std::string& key);
  const Node* Find(const std::string& key) const;
  Node* Find(const std::string& key);
  // The file's node, created when missing; null when its directory is
  // missing or a directory is in its place.
  Node* FileNode(const std::string& path, std::string& key);
  // Throws NotRegularFile for a special entry.
  static void CheckRegular(const char* operation, const std::string& path, const Node& node);
  // Throws as the platform does when another program holds `key`.
  void CheckWritable(const char* operation, const std::string& path, const std::string& key) const;
  // The file the package writes or appends to, after the same checks.
  Node& WritableFile(const char* operation, const std::string& path);
  // The strongest hold on `key`, or nothing.
  std::optional<enum Hold> HoldOf(const std::string& key) const;

  std::map<std::string, Node> nodes_;
  bool Store(const std::string& path, std::string_view bytes, bool append);
  // Marks a file the package wrote, for LoseUnflushed.
  void Written(Node& node);

  std::map<std::string, std::vector<enum Hold>> holds_;
  class Lock;
  // Each lock held: its file's key and the number of the lock that holds it,
  // so that a lock dropped by a cut cannot let go of a later one.
  std::map<std::string, std::uint64_t> locks_;
  std::uint64_t next_lock_ = 0;
  std::function<std::int64_t()> now_;
  std::int64_t writeback_ms_ = 0;
};

} // namespace zul00500::testing
