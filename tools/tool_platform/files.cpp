// The standard library covers both platforms here, so there is one file.
#include "tool_platform/files.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "tool_platform/error.h"

namespace tool_platform {

namespace {
void write(const std::string& path, std::string_view bytes, std::ios::openmode mode, const char* operation) {
  std::ofstream file(path, std::ios::binary | mode);
  if (!file) throw Error(operation, path, "cannot open it for writing");
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) throw Error(operation, path, "the write failed");
}
} // namespace

std::string read_file(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw Error("read the file", path, "cannot open it");
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) throw Error("read the file", path, "the read failed");
  return bytes;
}

std::string read_file_if_any(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) ? read_file(path) : std::string();
}

void write_file(const std::string& path, std::string_view bytes) {
  write(path, bytes, std::ios::trunc, "write the file");
}

void append_file(const std::string& path, std::string_view bytes) {
  write(path, bytes, std::ios::app, "append to the file");
}

} // namespace tool_platform
