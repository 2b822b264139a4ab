#include "support/file_write.h"

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

void CopyFileInOneStep(const std::string& from, const std::string& to) {
  constexpr std::size_t kPiece = 1024 * 1024;
  platform::FileSystem& fs = platform::fs();
  const std::string temporary = TemporaryBeside(to);
  try {
    std::uint64_t offset = 0;
    for (;;) {
      // read_part neither follows a link nor opens a FIFO or a device: such
      // a source fails here, before the temporary is written.
      const std::string piece = fs.read_part(from, offset, kPiece);
      if (offset == 0) fs.write_file(temporary, piece);
      else if (!piece.empty()) fs.append_file(temporary, piece);
      if (piece.size() < kPiece) break;
      offset += piece.size();
    }
    fs.flush_file(temporary);
  } catch (...) {
    fs.remove_file(temporary);
    throw;
  }
  PlaceFileInOneStep(to);
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
