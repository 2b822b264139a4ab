#include "rehearsal/manager_watch.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "rehearsal/case_run.h"
#include "rehearsal/text.h"
#include "tool_platform/error.h"
#include "tool_platform/files.h"

namespace rehearsal {

namespace {
constexpr auto kLookEvery = std::chrono::milliseconds(1);
const char* const kNames[] = {"req\\intpos.001", "resp\\intpos.sts", "resp\\intpos.001"};
} // namespace

ManagerWatch::ManagerWatch(const std::string& drive_root, const std::vector<std::string>& roots,
                           std::string keep_folder, std::int64_t t0)
    : keep_folder_(std::move(keep_folder)), t0_(t0) {
  std::filesystem::create_directories(keep_folder_);
  for (const std::string& root : roots)
    for (const char* name : kNames)
      watched_.push_back({root, name, NativeDrivePath(drive_root, root + name), false, {}});
  thread_ = std::thread([this] {
    while (!stop_) {
      Look();
      std::this_thread::sleep_for(kLookEvery);
    }
  });
}

ManagerWatch::~ManagerWatch() { Stop(); }

std::vector<SeenFile> ManagerWatch::Stop() {
  if (thread_.joinable()) {
    stop_ = true;
    thread_.join();
    Look(); // the last state
  }
  return seen_;
}

void ManagerWatch::Look() {
  for (Watched& file : watched_) {
    std::error_code error;
    const bool present = std::filesystem::is_regular_file(file.native, error);
    std::string bytes;
    if (present) {
      try {
        bytes = tool_platform::read_file(file.native);
      } catch (const tool_platform::Error&) {
        continue; // taken away between the look and the read
      }
    }
    if (present == file.present && bytes == file.bytes) continue;
    file.present = present;
    file.bytes = bytes;
    SeenFile seen{RelativeMs(LocalMillisecondsOfDay(), t0_), file.root, file.name, bytes, !present};
    if (present) {
      char prefix[16];
      std::snprintf(prefix, sizeof prefix, "%04zu-", seen_.size() + 1);
      std::string name = prefix + file.root.substr(3) + file.name;
      for (char& c : name)
        if (c == '\\') c = '-';
      tool_platform::write_file((std::filesystem::path(keep_folder_) / name).string(), bytes);
    }
    seen_.push_back(std::move(seen));
  }
}

} // namespace rehearsal
