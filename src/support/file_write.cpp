#include "support/file_write.h"

#include <algorithm>
#include <cstdint>

#include "platform/file_system.h"
#include "support/errors.h"

namespace zul00500 {

namespace {
// Where the file name starts: after the last separator, 0 without one.
std::size_t name_start(const std::string& path) { return path.find_last_of("\\/") + 1; }
} // namespace

std::string TemporaryBeside(const std::string& path) {
  const std::size_t name = name_start(path);
  return path.substr(0, name) + "~" + path.substr(name) + ".tmp";
}

void WriteFileInOneStep(const std::string& path, std::string_view bytes) {
  PrepareFileInOneStep(path, bytes);
  PlaceFileInOneStep(path);
}

bool CopyFileInOneStep(const std::string& from, const std::string& to, std::uint64_t max_bytes) {
  constexpr std::size_t kPiece = 1024 * 1024;
  platform::FileSystem& fs = platform::fs();
  const std::string temporary = TemporaryBeside(to);
  bool more = false;
  try {
    std::uint64_t offset = 0;
    for (;;) {
      // read_part neither follows a link nor opens a FIFO or a device: such
      // a source fails here, before the temporary is written.
      const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kPiece, max_bytes - offset));
      const std::string piece = want == 0 ? std::string() : fs.read_part(from, offset, want);
      if (offset == 0) fs.write_file(temporary, piece);
      else if (!piece.empty()) fs.append_file(temporary, piece);
      offset += piece.size();
      if (piece.size() < want) break;
      if (offset == max_bytes) {
        more = !fs.read_part(from, offset, 1).empty();
        break;
      }
    }
    fs.flush_file(temporary);
  } catch (...) {
    fs.remove_file(temporary);
    throw;
  }
  PlaceFileInOneStep(to);
  return more;
}

std::uint64_t FileSize(const std::string& path) {
  platform::FileSystem& fs = platform::fs();
  const auto has_byte_at = [&](std::uint64_t offset) { return !fs.read_part(path, offset, 1).empty(); };
  if (!has_byte_at(0)) return 0;
  // The last byte lies in [low, high): low holds one, high none.
  constexpr std::uint64_t kMost = std::uint64_t{1} << 62;
  std::uint64_t low = 0, high = 1;
  while (has_byte_at(high)) {
    if (high == kMost) return kMost;
    low = high;
    high *= 2;
  }
  while (high - low > 1) {
    const std::uint64_t middle = low + (high - low) / 2;
    (has_byte_at(middle) ? low : high) = middle;
  }
  return high;
}

void PrepareFileInOneStep(const std::string& path, std::string_view bytes) {
  platform::FileSystem& fs = platform::fs();
  const std::string temporary = TemporaryBeside(path);
  try {
    fs.write_file(temporary, bytes);
    fs.flush_file(temporary);
  } catch (...) {
    fs.remove_file(temporary);
    throw;
  }
}

void PlaceFileInOneStep(const std::string& path, const std::function<void()>& ifNotPlaced) {
  platform::FileSystem& fs = platform::fs();
  const std::string temporary = TemporaryBeside(path);
  if (!fs.rename_file(temporary, path)) {
    if (ifNotPlaced) ifNotPlaced();
    fs.remove_file(temporary);
    throw FileError("put the file in place", path, "renaming " + temporary + " failed");
  }
  const std::size_t name = name_start(path);
  fs.flush_directory(name == 0 ? std::string(".") : path.substr(0, name));
}

} // namespace zul00500
