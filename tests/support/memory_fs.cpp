#include "support/memory_fs.h"

#include <algorithm>
#include <array>
#include <exception>

#include "platform/text_encoding.h"
#include "support/errors.h"

namespace zul00500::testing {

namespace {
constexpr const char* kMissing = "No such file or directory";

bool separator(char c) { return c == '\\' || c == '/'; }

// The directory part and the last component of a pattern.
std::pair<std::string, std::string> split_last(const std::string& path) {
  std::size_t end = path.size();
  while (end > 0 && separator(path[end - 1])) --end;
  std::size_t start = end;
  while (start > 0 && !separator(path[start - 1])) --start;
  return {path.substr(0, start), path.substr(start, end - start)};
}
} // namespace

MemoryFs::MemoryFs() {
  for (const char* drive : {"c:", "d:"})
    nodes_[drive] = Node{drive, true, {}, {}, false, 0, std::nullopt, {}};
}

std::string MemoryFs::Key(std::string_view path) {
  // The folding table once: Key runs for every operation.
  static const auto fold = [] {
    std::array<char, 256> table{};
    for (int c = 0; c < 256; ++c)
      table[static_cast<std::size_t>(c)] =
          static_cast<char>(platform::cp1252_fold_case(static_cast<unsigned char>(c)));
    return table;
  }();
  std::string key;
  key.reserve(path.size());
  for (std::size_t i = 0; i < path.size(); ++i) {
    const char c = path[i];
    if (separator(c)) {
      if (!key.empty() && key.back() != '\\') key += '\\';
      continue;
    }
    key += fold[static_cast<unsigned char>(c)];
  }
  if (!key.empty() && key.back() == '\\') key.pop_back();
  return key;
}

std::string MemoryFs::Parent(const std::string& key) {
  const std::size_t slash = key.rfind('\\');
  return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

const MemoryFs::Node* MemoryFs::Find(const std::string& key) const {
  const auto found = nodes_.find(key);
  return found == nodes_.end() ? nullptr : &found->second;
}

MemoryFs::Node* MemoryFs::Find(const std::string& key) {
  const auto found = nodes_.find(key);
  return found == nodes_.end() ? nullptr : &found->second;
}

std::optional<enum MemoryFs::Hold> MemoryFs::HoldOf(const std::string& key) const {
  if (holds_.empty()) return std::nullopt;
  const auto found = holds_.find(key);
  if (found == holds_.end() || found->second.empty()) return std::nullopt;
  const std::vector<enum Hold>& holds = found->second;
  return std::find(holds.begin(), holds.end(), Hold::Exclusive) != holds.end() ? Hold::Exclusive
                                                                               : Hold::SharedRead;
}

MemoryFs::Node* MemoryFs::FileNode(const std::string& path, std::string& key) {
  key = Key(path);
  if (Node* node = Find(key)) return node->directory ? nullptr : node;
  const Node* parent = Find(Parent(key));
  if (!parent || !parent->directory) return nullptr;
  return &(nodes_[key] = Node{split_last(path).second, false, {}, {}, false, 0, std::nullopt, {}});
}

void MemoryFs::CheckRegular(const char* operation, const std::string& path, const Node& node) {
  if (node.directory)
    throw platform::NotRegularFile(operation, path, "it is a directory, not a regular file");
  if (!node.special) return;
  static const char* const kinds[] = {"a FIFO", "a device", "a symbolic link"};
  throw platform::NotRegularFile(operation, path,
                                 std::string("it is ") + kinds[static_cast<int>(*node.special)] +
                                     ", not a regular file");
}

void MemoryFs::CheckWritable(const char* operation, const std::string& path, const std::string& key) const {
  if (HoldOf(key))
    throw FileBusyError(operation, path, "The process cannot access the file (sharing violation)");
}

bool MemoryFs::file_exists(const std::string& path) {
  if (!platform::has_wildcard(path)) {
    const Node* node = Find(Key(path));
    return node && !node->directory;
  }
  const std::string directory = split_last(path).first;
  for (const std::string& name : list(path)) {
    const Node* node = Find(Key(directory + name));
    if (node && !node->directory) return true;
  }
  return false;
}

bool MemoryFs::directory_exists(const std::string& path) {
  const Node* node = Find(Key(path));
  return node && node->directory;
}

std::vector<std::string> MemoryFs::list(const std::string& pattern) {
  const auto [directory, last] = split_last(pattern);
  const std::string prefix = Key(directory) + "\\";
  std::vector<std::string> names;
  for (auto it = nodes_.lower_bound(prefix); it != nodes_.end(); ++it) {
    const std::string& key = it->first;
    if (key.compare(0, prefix.size(), prefix) != 0) break;
    if (key.find('\\', prefix.size()) != std::string::npos) continue;
    if (platform::wildcard_match(last, it->second.name)) names.push_back(it->second.name);
  }
  return names;
}

bool MemoryFs::remove_file(const std::string& path) {
  const std::string key = Key(path);
  const Node* node = Find(key);
  if (!node || node->directory || HoldOf(key)) return false;
  nodes_.erase(key);
  return true;
}

bool MemoryFs::rename_file(const std::string& from, const std::string& to) {
  const std::string from_key = Key(from);
  const std::string to_key = Key(to);
  const Node* source = Find(from_key);
  if (!source || source->directory || HoldOf(from_key) || HoldOf(to_key)) return false;
  const Node* target = Find(to_key);
  if (target && target->directory) return false;
  const Node* parent = Find(Parent(to_key));
  if (!parent || !parent->directory) return false;
  if (from_key == to_key) return true;
  Node moved = std::move(nodes_[from_key]);
  nodes_.erase(from_key);
  moved.name = split_last(to).second;
  nodes_[to_key] = std::move(moved);
  return true;
}

std::string MemoryFs::read_file(const std::string& path) {
  const Node* node = Find(Key(path));
  // Whole-file reads follow a link, once.
  if (node && node->special == Special::Link) {
    const Node* target = Find(Key(node->target));
    if (!target) throw FileError("read", path, kMissing);
    CheckRegular("read", path, *target);
    return target->bytes;
  }
  return read_part(path, 0, std::string::npos);
}

std::string MemoryFs::read_part(const std::string& path, std::uint64_t offset, std::size_t max_bytes) {
  const std::string key = Key(path);
  const Node* node = Find(key);
  if (!node) throw FileError("read", path, kMissing);
  CheckRegular("read", path, *node);
  if (HoldOf(key) == Hold::Exclusive)
    throw FileBusyError("read", path, "The process cannot access the file (sharing violation)");
  const std::string& bytes = node->bytes;
  return offset >= bytes.size() ? std::string() : bytes.substr(static_cast<std::size_t>(offset), max_bytes);
}

class MemoryFs::Lock : public platform::FileLock {
public:
  Lock(MemoryFs& disk, std::string path, std::string key, std::uint64_t number)
      : disk_(disk), path_(std::move(path)), key_(std::move(key)), number_(number) {}
  ~Lock() override {
    const auto found = disk_.locks_.find(key_);
    if (found != disk_.locks_.end() && found->second == number_) disk_.locks_.erase(found);
  }
  bool describe(std::string_view text) override {
    try {
      disk_.write_file(path_, text);
      return true;
    } catch (const std::exception&) {
      return false;
    }
  }

private:
  MemoryFs& disk_;
  std::string path_;
  std::string key_;
  std::uint64_t number_;
};

std::unique_ptr<platform::FileLock> MemoryFs::try_lock(const std::string& path) {
  std::string key;
  if (!FileNode(path, key)) throw FileError("open the lock file", path, kMissing);
  if (locks_.count(key)) return nullptr;
  locks_[key] = ++next_lock_;
  return std::make_unique<Lock>(*this, path, key, next_lock_);
}

MemoryFs::Node& MemoryFs::WritableFile(const char* operation, const std::string& path) {
  std::string key;
  CheckWritable(operation, path, Key(path));
  Node* node = FileNode(path, key);
  if (!node) throw FileError(operation, path, kMissing);
  // A FIFO or device fails as the platform's opening without blocking
  // does; nothing is written through a link.
  if (node->special) throw FileError(operation, path, "No such device or address");
  return *node;
}

void MemoryFs::write_file(const std::string& path, std::string_view bytes) {
  Node& node = WritableFile("write", path);
  node.bytes.assign(bytes);
  Written(node);
}

void MemoryFs::append_file(const std::string& path, std::string_view bytes) {
  Node& node = WritableFile("append", path);
  node.bytes.append(bytes);
  Written(node);
}

void MemoryFs::flush_file(const std::string& path) {
  Node* node = Find(Key(path));
  if (!node || node->directory || node->special) throw FileError("flush", path, kMissing);
  node->durable = node->bytes;
  node->dirty = false;
}

void MemoryFs::Written(Node& node) {
  if (!now_) {
    node.durable = node.bytes;
    return;
  }
  node.dirty = true;
  node.written_at = now_();
}

std::vector<std::string> MemoryFs::LoseUnflushed() {
  std::vector<std::string> lost;
  locks_.clear();
  const std::int64_t now = now_ ? now_() : 0;
  for (auto& [key, node] : nodes_) {
    if (!node.dirty) continue;
    node.dirty = false;
    if (now - node.written_at >= writeback_ms_) continue;
    if (node.bytes != node.durable) lost.push_back(key);
    node.bytes = node.durable;
  }
  return lost;
}

bool MemoryFs::flush_directory(const std::string& path) { return directory_exists(path); }

void MemoryFs::create_directories(const std::string& path) {
  std::string key;
  for (std::size_t i = 0, begin = 0; i <= path.size(); ++i) {
    if (i < path.size() && !separator(path[i])) continue;
    if (i > begin) {
      const std::string name = path.substr(begin, i - begin);
      key += (key.empty() ? "" : "\\") + Key(name);
      Node& node = nodes_[key];
      if (node.name.empty()) node = Node{name, true, {}, {}, false, 0, std::nullopt, {}};
      else if (!node.directory) throw FileError("create directory", path, "File exists");
    }
    begin = i + 1;
  }
}

// A neighbour's write is on the disk at once.
bool MemoryFs::Store(const std::string& path, std::string_view bytes, bool append) {
  std::string key;
  Node* node = FileNode(path, key);
  if (!node) return false;
  // A program that writes the file replaces what was there.
  if (node->special) *node = Node{node->name, false, {}, {}, false, 0, std::nullopt, {}};
  if (!append) node->bytes.clear();
  node->bytes.append(bytes);
  node->durable = node->bytes;
  node->dirty = false;
  return true;
}

bool MemoryFs::PutSpecial(const std::string& path, Special kind, const std::string& target) {
  std::string key;
  Node* node = FileNode(path, key);
  if (!node) return false;
  *node = Node{split_last(path).second, false, {}, {}, false, 0, kind, target};
  return true;
}

bool MemoryFs::Drop(const std::string& path) {
  const std::string key = Key(path);
  const Node* node = Find(key);
  if (!node || node->directory) return false;
  nodes_.erase(key);
  return true;
}

bool MemoryFs::Peek(const std::string& path, std::string& bytes) const {
  const Node* node = Find(Key(path));
  if (!node || node->directory || node->special) return false;
  bytes = node->bytes;
  return true;
}

std::vector<std::string> MemoryFs::FilesUnder(const std::string& directory) const {
  const std::string prefix = Key(directory) + "\\";
  std::vector<std::string> paths;
  for (auto it = nodes_.lower_bound(prefix);
       it != nodes_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it)
    if (!it->second.directory) paths.push_back(it->first);
  return paths;
}

void MemoryFs::RemoveTree(const std::string& directory) {
  const std::string key = Key(directory);
  const std::string prefix = key + "\\";
  auto it = nodes_.lower_bound(prefix);
  while (it != nodes_.end() && it->first.compare(0, prefix.size(), prefix) == 0) it = nodes_.erase(it);
  nodes_.erase(key);
}

void MemoryFs::Hold(const std::string& path, enum Hold how) { holds_[Key(path)].push_back(how); }
void MemoryFs::Release(const std::string& path, enum Hold how) {
  const auto found = holds_.find(Key(path));
  if (found == holds_.end()) return;
  std::vector<enum Hold>& holds = found->second;
  if (const auto hold = std::find(holds.begin(), holds.end(), how); hold != holds.end()) holds.erase(hold);
  if (holds.empty()) holds_.erase(found);
}
bool MemoryFs::Held(const std::string& path) const { return HoldOf(Key(path)).has_value(); }

std::size_t MemoryFs::Bytes() const {
  std::size_t total = 0;
  for (const auto& [key, node] : nodes_) total += node.bytes.size();
  return total;
}

} // namespace zul00500::testing
