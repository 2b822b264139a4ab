// Writing a file that another program, or the next run, reads: never seen
// half written, not even after a power cut in the middle of the write.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>

namespace zul00500 {

// The temporary WriteFileInOneStep writes `path` through: the same
// directory, "~" + the file name + ".tmp" ("req\~intpos.001.tmp"). No
// pattern the package or a manager lists ("intpos.*") matches it, so one
// left by a power cut is never taken for an answer, a pending copy or a
// request; the next write of the same file replaces it.
std::string TemporaryBeside(const std::string& path);

// Writes `bytes` to the temporary beside `path`, flushes it to the disk,
// renames it over `path` in one step and flushes the directory, so that a
// power cut leaves either the old file or the new one, whole. Throws
// FileError; the old `path` is then as it was, and no temporary is left
// behind when it can be removed. A directory that cannot be flushed is not
// an error: the file is in place by then.
void WriteFileInOneStep(const std::string& path, std::string_view bytes);

// WriteFileInOneStep of a copy of `from`, read and written a piece at a
// time, never held whole: its first `max_bytes` bytes (all of a file no
// longer). True when `from` holds more than was copied. Throws FileError;
// `to` is then as it was. A source that is no regular file (a link, a
// FIFO, a device: another program may have put it where an answer
// belongs) is never followed nor read: NotRegularFile, before anything is
// written.
bool CopyFileInOneStep(const std::string& from, const std::string& to,
                       std::uint64_t max_bytes = std::numeric_limits<std::uint64_t>::max());

// The size of a file in bytes, found with one-byte reads at doubling, then
// halving, offsets: a few dozen reads whatever its size, and no more than a
// byte ever held. A file that keeps growing past 2^62 bytes (a device that
// never ends) gives 2^62. Throws FileError.
std::uint64_t FileSize(const std::string& path);

// WriteFileInOneStep in its two halves, for a writer that must note
// something between them: the temporary written and flushed, then renamed
// into place. Each throws FileError and removes the temporary when it can.
// `ifNotPlaced` runs before a temporary that could not be renamed is
// removed: the writer undoes its note first, so that a stop in between
// never leaves a note without its file.
void PrepareFileInOneStep(const std::string& path, std::string_view bytes);
void PlaceFileInOneStep(const std::string& path, const std::function<void()>& ifNotPlaced = {});

} // namespace zul00500
