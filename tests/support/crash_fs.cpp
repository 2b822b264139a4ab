#include "support/crash_fs.h"

#include "support/errors.h"

namespace zul00500::testing {

void CrashFs::Arm(long long at, bool tear) {
  armed_ = true;
  at_ = at;
  tear_ = tear;
  cut_ = false;
  counted_ = 0;
  operations_.clear();
}

void CrashFs::PowerOn() {
  armed_ = false;
  cut_ = false;
}

bool CrashFs::Powered(const char* name, const std::string& path, bool writes_bytes) {
  if (!armed_) return true;
  if (cut_) return false;
  if (keep_) operations_.push_back({name, path, writes_bytes});
  if (++counted_ != at_) return true;
  if (on_cut_) on_cut_();
  cut_ = true;
  return false;
}

void CrashFs::Dead(const char* name, const std::string& path) const {
  throw FileError(name, path, "the power is off");
}

bool CrashFs::file_exists(const std::string& path) {
  return Powered("file_exists", path) && inner_.file_exists(path);
}

bool CrashFs::is_link(const std::string& path) { return Powered("is_link", path) && inner_.is_link(path); }

bool CrashFs::directory_exists(const std::string& path) {
  return Powered("directory_exists", path) && inner_.directory_exists(path);
}

std::vector<std::string> CrashFs::list(const std::string& pattern) {
  if (!Powered("list", pattern)) return {};
  return inner_.list(pattern);
}

bool CrashFs::remove_file(const std::string& path) {
  return Powered("remove", path) && inner_.remove_file(path);
}

bool CrashFs::rename_file(const std::string& from, const std::string& to) {
  return Powered("rename", from + " -> " + to) && inner_.rename_file(from, to);
}

std::string CrashFs::read_file(const std::string& path) {
  if (!Powered("read", path)) Dead("read", path);
  return inner_.read_file(path);
}

std::string CrashFs::read_part(const std::string& path, std::uint64_t offset, std::size_t max_bytes) {
  if (!Powered("read", path)) Dead("read", path);
  return inner_.read_part(path, offset, max_bytes);
}

void CrashFs::write_file(const std::string& path, std::string_view bytes) {
  const bool cut_here = armed_ && !cut_;
  if (Powered("write", path, true)) return inner_.write_file(path, bytes);
  if (cut_here && tear_) inner_.write_file(path, bytes.substr(0, bytes.size() / 2));
  Dead("write", path);
}

void CrashFs::append_file(const std::string& path, std::string_view bytes) {
  const bool cut_here = armed_ && !cut_;
  if (Powered("append", path, true)) return inner_.append_file(path, bytes);
  if (cut_here && tear_) inner_.append_file(path, bytes.substr(0, bytes.size() / 2));
  Dead("append", path);
}

// The power never really goes: what was written before the cut is on the
// disk anyway, so flushes are counted and cut but not made (thousands of
// runs would otherwise wait for the real disk).
void CrashFs::flush_file(const std::string& path) {
  if (!Powered("flush", path)) Dead("flush", path);
  if (pass_flushes_) inner_.flush_file(path);
}

bool CrashFs::flush_directory(const std::string& path) {
  return Powered("flush_directory", path) && (!pass_flushes_ || inner_.flush_directory(path));
}

void CrashFs::create_directories(const std::string& path) {
  if (!Powered("create_directories", path)) Dead("create directory", path);
  inner_.create_directories(path);
}

std::string CrashFs::short_path(const std::string& path) {
  if (!Powered("short_path", path)) return path;
  return inner_.short_path(path);
}

} // namespace zul00500::testing
