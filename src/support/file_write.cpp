#include "support/file_write.h"

#include "platform/file_system.h"
#include "zul00500/errors.h"

namespace zul00500 {

namespace {
// The same directory and base name, extension ".tmp".
std::string temporary_beside(const std::string& path) {
  const std::size_t name = path.find_last_of("\\/") + 1; // 0 without a directory
  const std::size_t dot = path.rfind('.');
  const std::size_t end = dot != std::string::npos && dot >= name ? dot : path.size();
  return path.substr(0, end) + ".tmp";
}
} // namespace

void WriteFileInOneStep(const std::string& path, std::string_view bytes) {
  platform::FileSystem& fs = platform::fs();
  const std::string temporary = temporary_beside(path);
  try {
    fs.write_file(temporary, bytes);
  } catch (...) {
    fs.remove_file(temporary);
    throw;
  }
  if (!fs.rename_file(temporary, path)) {
    fs.remove_file(temporary);
    throw FileError("put the file in place", path, "renaming " + temporary + " failed");
  }
}

} // namespace zul00500
