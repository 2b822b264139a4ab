// The file-system seam. Every path is written the Windows way, as the package
// builds it ("c:\tef_dial\resp\intpos.001"); each platform resolves it.
// On POSIX "X:\a\b" lives under $ZUL_DRIVE_ROOT/x/a/b, "\" is a separator,
// and a component missing under its exact name, like a wildcard, matches
// without regard to letter case. Failures are FileError (platform/error.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/error.h"

namespace zul00500::platform {

// An exclusive lock on a file, held until the object goes (FileSystem::try_lock).
class FileLock {
public:
  // Releases the lock and closes the file; the file itself stays.
  virtual ~FileLock() = default;
  // Replaces the file's content with `text`: who holds it, for whoever finds
  // it taken. The lock never covers the content, so others can read it.
  // False on failure; never throws.
  virtual bool describe(std::string_view text) = 0;
};

class FileSystem {
public:
  virtual ~FileSystem() = default;

  // True when `path` names an existing entry that is not a directory: a
  // link counts as what it is itself, never as what it points to. With a
  // wildcard in the last component: true when some matching entry is one.
  virtual bool file_exists(const std::string& path) = 0;
  // True when `path` names an existing directory; a trailing separator is fine.
  virtual bool directory_exists(const std::string& path) = 0;
  // True when `path` itself (a trailing separator is fine) is a symbolic
  // link or, on Windows, any reparse point (a junction): what lies there
  // belongs to the place it points to. False when it is missing.
  virtual bool is_link(const std::string& path) = 0;
  // Names (without directory) of every entry matching the last component of
  // `pattern` ("*" and "?" wildcards), files and directories alike, in the
  // platform's listing order. A missing directory lists nothing.
  virtual std::vector<std::string> list(const std::string& pattern) = 0;
  // Deletes a file; a link (or FIFO, or device node) goes itself, never
  // what it points to. Returns false on failure; never throws.
  virtual bool remove_file(const std::string& path) = 0;
  // Renames a file, replacing an existing `to` in one step (so a reader never
  // sees it half written). False on failure; never throws.
  virtual bool rename_file(const std::string& from, const std::string& to) = 0;
  // Whole content of a file the package or the host owns: a link to a
  // regular file is followed (an installation may link its configuration).
  // Throws NotRegularFile, without reading, when what is there (or what a
  // link points to) is no regular file; UnreadableFile when the system
  // denies this process the reading of it; FileError otherwise.
  virtual std::string read_file(const std::string& path) = 0;
  // At most `max_bytes` bytes of a file, from byte `offset` on: fewer at its
  // end, none from beyond it, without ever holding more. This is the read
  // of exchange files, which another program may have put there: a link is
  // never followed, and what is no regular file (a link, a FIFO, a device,
  // a directory) is never opened for reading, nor waited for: NotRegularFile.
  // Throws UnreadableFile and FileError otherwise, as read_file does.
  virtual std::string read_part(const std::string& path, std::uint64_t offset, std::size_t max_bytes) = 0;
  // Creates or truncates `path` and writes `bytes`. Throws FileError.
  virtual void write_file(const std::string& path, std::string_view bytes) = 0;
  // Appends to `path`, creating it when missing. Throws FileError.
  virtual void append_file(const std::string& path, std::string_view bytes) = 0;
  // Makes what was written to an existing file reach the disk, so that a
  // power cut no longer loses it (fsync; FlushFileBuffers on Windows).
  // Throws FileError.
  virtual void flush_file(const std::string& path) = 0;
  // Makes the entries of a directory, a rename just made into it included,
  // survive a power cut (fsync of the directory on POSIX). Windows gives a
  // program no such call; there it does nothing. False on failure; never
  // throws.
  virtual bool flush_directory(const std::string& path) = 0;
  // Creates a directory and its missing parents. Throws FileError.
  virtual void create_directories(const std::string& path) = 0;
  // The short (8.3) form of an existing path; the path itself where the
  // platform has no short names or the path does not exist.
  virtual std::string short_path(const std::string& path) = 0;
  // Where `path` lives on this machine (for messages and tools).
  virtual std::string native_path(const std::string& path) = 0;
  // Opens `path`, creating it when missing, and tries once, without waiting,
  // to lock it exclusively (flock on POSIX, LockFileEx on Windows). Returns
  // the held lock, or null when someone else holds it: another process, or
  // another FileLock of this one on the same file. The system releases the
  // lock when its process ends, however it ends, so a lock never outlives
  // its holder. Throws FileError when the file cannot be opened or made.
  virtual std::unique_ptr<FileLock> try_lock(const std::string& path) = 0;
};

// The file system in use: the platform's own unless a test installed another.
FileSystem& fs();
// The platform's own implementation, for decorators that wrap it.
FileSystem& native_fs();

// Installs `replacement` for as long as the object lives.
class ScopedFileSystem {
public:
  explicit ScopedFileSystem(FileSystem& replacement);
  ~ScopedFileSystem();
  ScopedFileSystem(const ScopedFileSystem&) = delete;
  ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

private:
  FileSystem* previous_;
};

// True when `name` matches `pattern` with "*" and "?", ignoring letter case
// (ASCII and code page 1252 letters). As on Windows, a final ".*" also
// matches a name without a dot ("*.*" matches everything).
bool wildcard_match(std::string_view pattern, std::string_view name);
bool has_wildcard(std::string_view text);

} // namespace zul00500::platform
