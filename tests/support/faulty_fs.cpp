#include "support/faulty_fs.h"

#include <algorithm>
#include <cctype>

#include "support/errors.h"

namespace zul00500::testing {

namespace {
constexpr const char* injected = "injected fault";

std::size_t index(FsOp op) { return static_cast<std::size_t>(op); }

// The directory a path lies in, folded to lower case, without its last separator.
std::string folded_directory(const std::string& path, bool whole) {
  std::string folded;
  for (const char c : path)
    folded += c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  while (!folded.empty() && folded.back() == '\\') folded.pop_back();
  if (whole) return folded;
  const std::size_t slash = folded.rfind('\\');
  return slash == std::string::npos ? std::string() : folded.substr(0, slash);
}
} // namespace

void FaultyFs::add_rule(FsOp op, int n, bool onwards, Fault fault) {
  std::lock_guard lock(mutex_);
  rules_.push_back({op, made_[index(op)] + n, onwards, fault, {}});
}

void FaultyFs::fail_path(FsOp op, std::string part, Fault fault) {
  std::lock_guard lock(mutex_);
  rules_.push_back({op, 0, true, fault, std::move(part)});
}

void FaultyFs::fail_directory(FsOp op, const std::string& directory, Fault fault) {
  std::lock_guard lock(mutex_);
  rules_.push_back({op, 0, true, fault, folded_directory(directory, true), true});
}

void FaultyFs::heal() {
  std::lock_guard lock(mutex_);
  rules_.clear();
  read_rules_.clear();
}

void FaultyFs::keep_calls(bool keep) {
  std::lock_guard lock(mutex_);
  keep_calls_ = keep;
}

std::optional<Fault> FaultyFs::enter(FsOp op, const std::string& path, const std::string& to) {
  std::lock_guard lock(mutex_);
  const long long number = ++made_[index(op)];
  std::optional<Fault> hit;
  for (const Rule& rule : rules_) {
    if (rule.op != op || op == FsOp::NativePath) continue;
    const bool chosen = rule.part.empty() ? (rule.onwards ? number >= rule.first : number == rule.first)
                        : rule.directory  ? folded_directory(path, false) == rule.part
                                          : path.find(rule.part) != std::string::npos;
    if (chosen) hit = rule.fault;
  }
  if (keep_calls_) calls_.push_back({op, path, to, hit.has_value()});
  return hit;
}

std::vector<FsCall> FaultyFs::calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

std::vector<std::string> FaultyFs::paths(FsOp op) const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> result;
  for (const FsCall& call : calls_) {
    if (call.op == op) result.push_back(call.path);
  }
  return result;
}

int FaultyFs::count(FsOp op) const {
  std::lock_guard lock(mutex_);
  int result = 0;
  for (const FsCall& call : calls_) result += call.op == op;
  return result;
}

void FaultyFs::clear_calls() {
  std::lock_guard lock(mutex_);
  calls_.clear();
}

bool FaultyFs::file_exists(const std::string& path) {
  return !enter(FsOp::FileExists, path) && inner_.file_exists(path);
}

bool FaultyFs::directory_exists(const std::string& path) {
  return !enter(FsOp::DirectoryExists, path) && inner_.directory_exists(path);
}

std::vector<std::string> FaultyFs::list(const std::string& pattern) {
  if (enter(FsOp::List, pattern)) return {};
  return inner_.list(pattern);
}

bool FaultyFs::remove_file(const std::string& path) {
  return !enter(FsOp::RemoveFile, path) && inner_.remove_file(path);
}

bool FaultyFs::rename_file(const std::string& from, const std::string& to) {
  return !enter(FsOp::RenameFile, from, to) && inner_.rename_file(from, to);
}

void FaultyFs::tear_reads(const std::string& path, std::size_t keep, int times) {
  std::lock_guard lock(mutex_);
  read_rules_.push_back({path, keep, times});
}

void FaultyFs::busy_reads(const std::string& path, int times) {
  std::lock_guard lock(mutex_);
  read_rules_.push_back({path, std::nullopt, times});
}

void FaultyFs::unreadable_reads(const std::string& path, int times) {
  std::lock_guard lock(mutex_);
  read_rules_.push_back({path, std::nullopt, times, true});
}

std::string FaultyFs::read_file(const std::string& path) { return read(path, 0, std::string::npos); }

std::string FaultyFs::read_part(const std::string& path, std::uint64_t offset, std::size_t max_bytes) {
  return read(path, offset, max_bytes);
}

std::string FaultyFs::read(const std::string& path, std::uint64_t offset, std::size_t max_bytes) {
  if (enter(FsOp::ReadFile, path)) throw FileError("read", path, injected);
  std::optional<ReadRule> rule;
  {
    std::lock_guard lock(mutex_);
    for (ReadRule& each : read_rules_)
      if (each.path == path && each.times > 0) {
        --each.times;
        rule = each;
        break;
      }
  }
  if (rule && rule->denied) throw UnreadableFile("read", path, "permission denied");
  if (rule && !rule->keep) throw FileBusyError("read", path, "another program holds the file");
  // A torn read sees only the first `keep` bytes of the file.
  if (rule && offset >= *rule->keep) return {};
  if (rule) max_bytes = std::min<std::uint64_t>(max_bytes, *rule->keep - offset);
  return offset == 0 && max_bytes == std::string::npos ? inner_.read_file(path)
                                                       : inner_.read_part(path, offset, max_bytes);
}

void FaultyFs::write_file(const std::string& path, std::string_view bytes) {
  if (const auto fault = enter(FsOp::WriteFile, path)) {
    if (*fault == Fault::Torn) {
      inner_.write_file(path, bytes.substr(0, bytes.size() / 2));
      throw platform::NoSpaceError("write", path, injected);
    }
    throw FileError("write", path, injected);
  }
  inner_.write_file(path, bytes);
}

void FaultyFs::append_file(const std::string& path, std::string_view bytes) {
  if (const auto fault = enter(FsOp::AppendFile, path)) {
    if (*fault == Fault::Torn) {
      inner_.append_file(path, bytes.substr(0, bytes.size() / 2));
      throw platform::NoSpaceError("append", path, injected);
    }
    throw FileError("append", path, injected);
  }
  inner_.append_file(path, bytes);
}

void FaultyFs::flush_file(const std::string& path) {
  if (enter(FsOp::FlushFile, path)) throw FileError("flush", path, injected);
  inner_.flush_file(path);
}

bool FaultyFs::flush_directory(const std::string& path) {
  return !enter(FsOp::FlushDirectory, path) && inner_.flush_directory(path);
}

void FaultyFs::create_directories(const std::string& path) {
  if (enter(FsOp::CreateDirectories, path)) throw FileError("create directory", path, injected);
  inner_.create_directories(path);
}

std::string FaultyFs::short_path(const std::string& path) {
  if (enter(FsOp::ShortPath, path)) return path;
  return inner_.short_path(path);
}

std::unique_ptr<platform::FileLock> FaultyFs::try_lock(const std::string& path) {
  if (enter(FsOp::TryLock, path)) throw FileError("open the lock file", path, injected);
  return inner_.try_lock(path);
}

std::string FaultyFs::native_path(const std::string& path) {
  enter(FsOp::NativePath, path);
  return inner_.native_path(path);
}

} // namespace zul00500::testing
