#include "rehearsal/exchange_record.h"

#include <algorithm>
#include <cctype>

#include "rehearsal/book.h"

namespace rehearsal {

namespace {
std::string lower(std::string_view text) {
  std::string folded(text);
  std::transform(folded.begin(), folded.end(), folded.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return folded;
}
} // namespace

std::pair<std::string, std::string> SplitRootPath(std::string_view path) {
  const std::string folded = lower(path);
  for (const char* name : kRootNames) {
    const std::string root = RootPath(name);
    if (folded.rfind(lower(root), 0) == 0) return {name, std::string(path.substr(root.size()))};
  }
  return {};
}

bool IsExchangeFile(std::string_view path) {
  const auto [root, rest] = SplitRootPath(path);
  if (root.empty()) return false;
  const std::string folded = lower(rest);
  for (const std::string_view folder : {"req\\", "resp\\"})
    if (folded.rfind(folder, 0) == 0 && folded.find('\\', folder.size()) == std::string::npos)
      return folded.size() > folder.size();
  return false;
}

void ExchangeRecord::Told(std::string_view operation, const std::string& path, const std::string& to,
                          std::string_view bytes, std::uint64_t package_ms) {
  if (!IsExchangeFile(path) && !IsExchangeFile(to)) return;
  const std::string key = lower(path);
  if (operation == "write" || operation == "append") {
    std::string& content = written_[key];
    content = operation == "write" ? std::string(bytes) : content + std::string(bytes);
    read_.erase(key);
    // A file written beside its place and renamed there is told once, placed.
    const std::string name = key.substr(key.rfind('\\') + 1);
    if (name.rfind('~', 0) == 0) return;
    sink_("write", path, content, {}, package_ms);
  } else if (operation == "rename") {
    const auto found = written_.find(key);
    const std::string content = found == written_.end() ? std::string() : found->second;
    if (found != written_.end()) written_.erase(found);
    written_[lower(to)] = content;
    read_.erase(key);
    read_.erase(lower(to));
    sink_("rename", path, content, to, package_ms);
  } else if (operation == "read") {
    // The waits read the same file over and over: each content once.
    auto [last, fresh] = read_.try_emplace(key, std::string(bytes));
    if (!fresh && last->second == bytes) return;
    last->second = std::string(bytes);
    sink_("read", path, std::string(bytes), {}, package_ms);
  } else if (operation == "remove") {
    written_.erase(key);
    read_.erase(key);
    sink_("remove", path, {}, {}, package_ms);
  }
}

ExchangeRecord::Sink JournalSink(EventJournal& journal) {
  return [&journal](const std::string& kind, const std::string& path, const std::string& bytes,
                    const std::string& to, std::uint64_t package_ms) {
    journal.Add("file", kind, path, bytes, {to, std::to_string(package_ms)});
  };
}

} // namespace rehearsal
